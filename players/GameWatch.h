#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <optional>

class PageWatch;
class QWebEnginePage;

// The player's watch over its page while games play: whether the page still
// takes up what it is told (PageWatch's questions), and what its render
// process holds of memory, against the machine's (GameMemoryLimit); from
// both, when the page must be made anew. A page that has played no game yet
// is given all the time it needs.
class GameWatch : public QObject {
    Q_OBJECT
public:
    explicit GameWatch(QObject* parent);

    // A page made anew, which has played no game yet.
    void watch(QWebEnginePage* page);
    // Why a command must not go into the page, which must be made anew
    // first: a game holds it. Empty when it may.
    QString heldBefore() const;
    // Why a game must not start in the page: it keeps much more memory after
    // its games than it held fresh. Empty when it may; the first game's
    // start measures what the page holds fresh.
    QString tooFullBefore();
    // The command goes into the page now: its question first, so that the
    // answer means the page took it up, however long the command then takes.
    void tell(const QString& script);
    // A game plays, or plays no longer.
    void gameStarts();
    void gameEnds();
    // Why the page's render process, which has just ended while its game
    // played, was likely ended by the kernel for want of memory; empty when
    // nothing says it was.
    QString endedForMemory() const;

signals:
    // A command not taken up: the page is held by its game.
    void heldFound(const QString& why);
    // The page took up what it was told after all.
    void answered();
    // The page will likely be made anew at the next game: a spare page
    // readied now spares the next game the wait.
    void spareWanted(const QString& why);
    // The game's memory threatens the machine: it must stop. What it
    // exceeded, in words for the player area ("it held ...").
    void gameTooLarge(const QString& what);

private:
    // While a game plays, every moment.
    void check();
    // The resident memory of the page's render process; 0 when unknown.
    qint64 memory() const;
    bool keepsTooMuch(qint64 memory) const;

    PageWatch* const probes_;
    QPointer<QWebEnginePage> page_;
    bool gamePlayed_ = false;
    // The page's memory once its engine has started, the measure of a fresh page.
    qint64 freshMemory_ = 0;
    QTimer checks_;
    // Whether the player has said that it cannot read the machine's memory
    // and holds games to a fixed bound: once is enough.
    bool machineUnknownTold_ = false;
    // How many processes the kernel had ended for want of memory when the
    // game started.
    std::optional<std::int64_t> oomKillsAtStart_;
};
