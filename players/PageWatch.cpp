#include "players/PageWatch.h"

#include "library/ThreadWork.h"

#include <QWebEnginePage>

namespace {

// CPU time of the page's main thread, spent without answering a question.
constexpr qint64 WorkedMs = 500;
// How long a page that does not even wait to run may leave a question open.
constexpr qint64 StuckMs = 5000;
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
    const auto work = ThreadWork::ofMainThread(page_->renderProcessPid());
    const Question question{++asked_, clock_.elapsed(), work ? work->cpuMs : -1};
    questions_.push_back(question);
    page_->runJavaScript(QStringLiteral("0"), [watch = QPointer(this), page = pageNumber_,
                                               number = question.number](const QVariant&) {
        // The page answers in order: this answer is also that of every
        // question before.
        if (!watch || watch->pageNumber_ != page)
            return;
        while (!watch->questions_.empty() && watch->questions_.front().number <= number)
            watch->questions_.pop_front();
        if (watch->questions_.empty())
            watch->checks_.stop();
    });
}

QString PageWatch::held() const {
    if (questions_.empty() || !page_)
        return {};
    const Question& oldest = questions_.front();
    const qint64 waited = clock_.elapsed() - oldest.askedMs;
    const auto work = ThreadWork::ofMainThread(page_->renderProcessPid());
    if (!work || oldest.workMs < 0) {
        if (waited < StuckMs)
            return {};
        return QStringLiteral("no answer for %1 ms, its work unknown").arg(waited);
    }
    const qint64 worked = work->cpuMs - oldest.workMs;
    if (worked >= WorkedMs)
        return QStringLiteral("it worked %1 ms of CPU time without answering (%2 ms on the clock)")
            .arg(worked)
            .arg(waited);
    if (waited >= StuckMs && work->state != 'R')
        return QStringLiteral("it neither answered nor ran for %1 ms (%2, %3 ms of CPU time)")
            .arg(waited)
            .arg(stateName(work->state))
            .arg(worked);
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
