#include "players/GameWatch.h"

#include "library/GameMemoryLimit.h"
#include "library/OomKiller.h"
#include "library/ProcessWork.h"
#include "players/PageWatch.h"
#include "players/PlayerLog.h"

#include <QWebEnginePage>

namespace {

// What a page may keep of the games before over what it held fresh; with
// more, it is made anew before the next game.
constexpr qint64 KeptMemory = qint64(256) << 20;
constexpr int CheckMs = 250;

constexpr qint64 MB = 1 << 20;

// Gigabytes as the player area says them.
QString gigabytes(qint64 bytes) {
    return QString::number(double(bytes) / (1 << 30), 'f', 1);
}

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
    oomKillsAtStart_ = OomKiller::kills();
    if (playerLog().isDebugEnabled()) {
        std::string why;
        const auto machine = MachineMemory::read(why);
        const qint64 now = memory();
        qCDebug(playerLog).noquote()
            << QStringLiteral("game starts: the page holds %1 MB and may come to hold %2 MB")
                   .arg(now / MB)
                   .arg(GameMemoryLimit::largestGame(now, machine) / MB)
            << (machine ? QStringLiteral("(the machine has %1 MB available of %2 MB, keeps %3 MB)")
                              .arg(machine->availableBytes / MB)
                              .arg(machine->totalBytes / MB)
                              .arg(GameMemoryLimit::reserve(machine->totalBytes) / MB)
                        : QStringLiteral("(the machine's memory unknown)"));
    }
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
    std::string why;
    const auto machine = MachineMemory::read(why);
    if (!machine && !machineUnknownTold_) {
        machineUnknownTold_ = true;
        qCWarning(playerLog).noquote()
            << QStringLiteral("the machine's memory cannot be read (%1): a game may hold %2 MB")
                   .arg(QString::fromStdString(why))
                   .arg(GameMemoryLimit::UnknownMachineBound / MB);
    }
    QString what;
    switch (GameMemoryLimit::judge(now, machine)) {
    case GameMemoryLimit::Exceeded::Nothing:
        return;
    case GameMemoryLimit::Exceeded::Reserve:
        what =
            QStringLiteral("it held %1 GB of memory, and the machine had only %2 GB of its %3 GB "
                           "left")
                .arg(gigabytes(now), gigabytes(machine->availableBytes),
                     gigabytes(machine->totalBytes));
        break;
    case GameMemoryLimit::Exceeded::HalfTheMachine:
        what = QStringLiteral("it held %1 GB of memory, more than half of the machine's %2 GB")
                   .arg(gigabytes(now), gigabytes(machine->totalBytes));
        break;
    case GameMemoryLimit::Exceeded::FixedBound:
        what = QStringLiteral("it held %1 GB of memory, more than %2 GB")
                   .arg(gigabytes(now), gigabytes(GameMemoryLimit::UnknownMachineBound));
        break;
    }
    checks_.stop();
    qCInfo(playerLog).noquote()
        << QStringLiteral("game stopped for its memory: the page held %1 MB").arg(now / MB)
        << (machine ? QStringLiteral("with %1 MB available of %2 MB, %3 MB kept")
                          .arg(machine->availableBytes / MB)
                          .arg(machine->totalBytes / MB)
                          .arg(GameMemoryLimit::reserve(machine->totalBytes) / MB)
                    : QStringLiteral("with the machine's memory unknown"));
    emit gameTooLarge(what);
}

QString GameWatch::endedForMemory() const {
    const auto kills = OomKiller::kills();
    if (!checks_.isActive() || !oomKillsAtStart_ || !kills || *kills <= *oomKillsAtStart_)
        return {};
    return QStringLiteral("the machine ran out of memory");
}

qint64 GameWatch::memory() const {
    const auto work = ProcessWork::of(page_ ? page_->renderProcessPid() : 0);
    return work ? work->residentBytes : 0;
}

bool GameWatch::keepsTooMuch(qint64 memory) const {
    return gamePlayed_ && freshMemory_ > 0 && memory > freshMemory_ + KeptMemory;
}
