#include "players/GameWatch.h"

#include "library/ProcessWork.h"
#include "players/PageWatch.h"

#include <QWebEnginePage>

namespace {

// What a page may keep of the games before over what it held fresh; with
// more, it is made anew before the next game.
constexpr qint64 KeptMemory = qint64(256) << 20;
constexpr int CheckMs = 250;

} // namespace

GameWatch::GameWatch(QObject* parent) : QObject(parent), probes_(new PageWatch(this)) {
    connect(probes_, &PageWatch::heldFound, this, &GameWatch::heldFound);
    connect(probes_, &PageWatch::answered, this, &GameWatch::answered);
    checks_.setInterval(CheckMs);
    connect(&checks_, &QTimer::timeout, this, &GameWatch::check);
}

void GameWatch::watch(QWebEnginePage* page) {
    page_ = page;
    gamePlayed_ = false;
    freshMemory_ = 0;
    checks_.stop();
    // Nothing asked of an earlier page is waited for any more.
    probes_->watch(page);
}

QString GameWatch::heldBefore() const {
    return gamePlayed_ ? probes_->held() : QString();
}

QString GameWatch::tooFullBefore() {
    // What the games before left in the page's engine stays there.
    const qint64 now = memory();
    if (!gamePlayed_)
        freshMemory_ = now;
    else if (keepsTooMuch(now))
        return QStringLiteral("it holds %1 MB after its games, %2 MB fresh")
            .arg(now >> 20)
            .arg(freshMemory_ >> 20);
    return {};
}

void GameWatch::tell(const QString& script) {
    probes_->ask();
    if (page_)
        page_->runJavaScript(script);
    if (gamePlayed_)
        probes_->expectAnswer();
}

void GameWatch::gameStarts() {
    gamePlayed_ = true;
    checks_.start();
}

void GameWatch::gameEnds() {
    checks_.stop();
}

void GameWatch::check() {
    if (!probes_->asking())
        probes_->ask();
    const qint64 now = memory();
    if (const QString held = probes_->held(); !held.isEmpty())
        emit spareWanted(held);
    else if (keepsTooMuch(now))
        emit spareWanted(QStringLiteral("the page holds %1 MB").arg(now >> 20));
    if (now > MaxGameMemory) {
        checks_.stop();
        emit gameTooLarge(QStringLiteral("the game took %1 MB").arg(now >> 20));
    }
}

qint64 GameWatch::memory() const {
    const auto work = ProcessWork::of(page_ ? page_->renderProcessPid() : 0);
    return work ? work->residentBytes : 0;
}

bool GameWatch::keepsTooMuch(qint64 memory) const {
    return gamePlayed_ && freshMemory_ > 0 && memory > freshMemory_ + KeptMemory;
}
