#include "players/PageWatch.h"

#include "library/ProcessWork.h"

#include <QWebEnginePage>

namespace {

// CPU time of the page's main thread, spent without answering a question.
constexpr qint64 WorkedMs = 500;
// How long a page may leave a question open while it does not even wait to
// run, and its process as good as does not run either (under a fiftieth of
// the time: a main thread that waits for threads of its own that wait for
// the CPU is not stuck).
constexpr qint64 StuckMs = 5000;
constexpr qint64 StuckShare = 50;
constexpr int CheckMs = 100;

QString stateName(char state) {
    switch (state) {
    case 'T':
    case 't':
        return QStringLiteral("stopped");
    case 'D':
        return QStringLiteral("waiting on a device");
    default:
        return QStringLiteral("asleep");
    }
}

} // namespace

PageWatch::PageWatch(QObject* parent) : QObject(parent) {
    clock_.start();
    checks_.setInterval(CheckMs);
    connect(&checks_, &QTimer::timeout, this, &PageWatch::check);
}

void PageWatch::watch(QWebEnginePage* page) {
    page_ = page;
    ++pageNumber_;
    questions_.clear();
    checks_.stop();
}

void PageWatch::ask() {
    if (!page_)
        return;
    const auto work = ProcessWork::of(page_->renderProcessPid());
    const Question question{++asked_, clock_.elapsed(), work ? work->mainThreadMs : -1,
                            work ? work->allThreadsMs : -1};
    questions_.push_back(question);
    page_->runJavaScript(QStringLiteral("0"), [watch = QPointer(this), page = pageNumber_,
                                               number = question.number](const QVariant&) {
        // The page answers in order: this answer is also that of every
        // question before.
        if (!watch || watch->pageNumber_ != page)
            return;
        while (!watch->questions_.empty() && watch->questions_.front().number <= number)
            watch->questions_.pop_front();
        if (watch->questions_.empty() && watch->checks_.isActive()) {
            watch->checks_.stop();
            emit watch->answered();
        }
    });
}

QString PageWatch::held() const {
    if (questions_.empty() || !page_)
        return {};
    const Question& oldest = questions_.front();
    const qint64 waited = clock_.elapsed() - oldest.askedMs;
    const auto work = ProcessWork::of(page_->renderProcessPid());
    if (!work || oldest.mainThreadMs < 0) {
        if (waited < StuckMs)
            return {};
        return QStringLiteral("no answer for %1 ms, its work unknown").arg(waited);
    }
    const qint64 worked = work->mainThreadMs - oldest.mainThreadMs;
    if (worked >= WorkedMs)
        return QStringLiteral("it worked %1 ms of CPU time without answering (%2 ms on the clock)")
            .arg(worked)
            .arg(waited);
    const qint64 processWorked = work->allThreadsMs - oldest.allThreadsMs;
    if (waited >= StuckMs && work->mainThreadState != 'R' && processWorked * StuckShare < waited)
        return QStringLiteral("it neither answered nor ran for %1 ms (%2, %3 ms of CPU time)")
            .arg(waited)
            .arg(stateName(work->mainThreadState))
            .arg(processWorked);
    return {};
}

void PageWatch::expectAnswer() {
    if (questions_.empty() || checks_.isActive())
        return;
    lastCheckMs_ = clock_.elapsed();
    checks_.start();
}

void PageWatch::check() {
    // A check that comes late found the program's own thread held: an answer
    // may still wait in its queue, so judge at the next one.
    const qint64 now = clock_.elapsed();
    const bool late = now - lastCheckMs_ > 3 * CheckMs;
    lastCheckMs_ = now;
    if (late)
        return;
    const QString why = held();
    if (why.isEmpty())
        return;
    checks_.stop();
    emit heldFound(why);
}
