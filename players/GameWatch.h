#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

class PageWatch;
class QWebEnginePage;

// The player's watch over its page while games play: whether the page still
// takes up what it is told (PageWatch's questions), and what its render
// process holds of memory; from both, when the page must be made anew. A
// page that has played no game yet is given all the time it needs.
class GameWatch : public QObject {
    Q_OBJECT
public:
    // No game needs more; one that takes it would take the machine's next.
    static constexpr qint64 MaxGameMemory = qint64(1536) << 20;

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

signals:
    // A command not taken up: the page is held by its game.
    void heldFound(const QString& why);
    // The page took up what it was told after all.
    void answered();
    // The page will likely be made anew at the next game: a spare page
    // readied now spares the next game the wait.
    void spareWanted(const QString& why);
    // The game took more memory than any game needs: it must stop.
    void gameTooLarge(const QString& why);

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
};
