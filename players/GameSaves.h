#pragma once

#include <QObject>

class GameFile;
class PlayerSettings;
class SaveBridge;
class QWebEnginePage;

// The saves' hand-off between the player's page and the disk: a game's
// saves opened for its page as it starts, and the player's settings kept
// beside them read, both following it when it is renamed or moved, and
// the saves written whole before the program ends.
class GameSaves : public QObject {
    Q_OBJECT
public:
    explicit GameSaves(QObject* parent);

    // The program's end of the page's saves.
    SaveBridge* bridge() const { return bridge_; }
    // From now on the page may open and write the game's saves; the word
    // returned goes with its questions about them.
    QString open(const GameFile& game);
    // The player's settings the user last set for the game.
    PlayerSettings settings(const GameFile& game) const;
    void gameMoved(const GameFile& from, const GameFile& to);
    // What the game playing in page has not saved yet the engine writes as
    // the game ends: the program waits for that (a second at most), and
    // for every save to reach the disk, before it ends.
    void endBeforeQuitting(QWebEnginePage* page);
    // Runs the command in page (one that ends with the page sending every
    // save it holds) and waits until all it sent is on disk: true, or false
    // when the page sent nothing within the time given.
    bool settle(QWebEnginePage* page, const QString& command, int waitMs);

private:
    SaveBridge* const bridge_;
};
