#pragma once

#include "library/SaveStore.h"

#include <QJsonObject>
#include <QObject>
#include <map>
#include <set>
#include <string>

// The program's end of the games' saves. The engine keeps a game's shared
// objects in its page's local storage; the page's storage is the game's saves
// as the store keeps them on disk: the player hands the page a game's saves
// when it starts the game, and the page sends every change back here through
// the page's web channel, to be written whole at once.
class SaveBridge : public QObject {
    Q_OBJECT
public:
    explicit SaveBridge(QObject* parent);

    // The saves the movie may open, key to Base64 as the page keeps them;
    // from now on the page may write the movie's saves.
    QJsonObject open(const std::string& movieKey);

    // A game renamed or moved takes its own saves along, also those it
    // writes while it still plays under its old name.
    void gameMoved(const std::string& fromMovieKey, const std::string& toMovieKey);

    // Reached from the page only; what a page sends for a movie it was not
    // given is ignored.
public slots:
    void put(const QString& movieKey, const QString& key, const QString& base64);
    void remove(const QString& movieKey, const QString& key);
    // Everything the page held has been sent.
    void flushed();

signals:
    void allSent();

private:
    // The movie's key and the save's key under the name the game has now.
    std::pair<std::string, std::string> current(const QString& movieKey, const QString& key) const;

    const SaveStore store_;
    std::set<std::string> opened_;
    std::map<std::string, std::string> movedTo_;
};
