#pragma once

#include "library/PlayerSettings.h"
#include "library/SaveBudget.h"
#include "library/SaveStore.h"
#include "library/SaveWriter.h"

#include <QObject>
#include <map>
#include <optional>
#include <set>
#include <string>

class QUrlQuery;

// The program's end of the games' saves. The engine keeps a game's shared
// objects in its page's local storage, which must answer at once; the page's
// storage is the game's saves as the store keeps them on disk. The page asks
// here, and waits for the answer, for a save when the game opens it (nothing
// is read before), and whether a save may be kept before it tells the game
// so: the store's rules and the budgets are applied here alone. The saves'
// bytes follow through the page's web channel, and go to the disk a few times
// a second at most.
class SaveBridge : public QObject {
    Q_OBJECT
public:
    explicit SaveBridge(QObject* parent);

    // From now on the page may open and write the movie's saves; the word
    // returned goes with its questions about them.
    QString open(const std::string& movieKey);

    // A game renamed or moved takes its own saves along, also those it
    // writes while it still plays under its old name.
    void gameMoved(const std::string& fromMovieKey, const std::string& toMovieKey);

    // Returns once every save the page has sent is on disk.
    void drain();

    // The user's hand on a movie's saves, each after what waited is on
    // disk: the saves as they are there (its own and those it shares), the
    // folder of its own (made when missing), a save's bytes, a save brought in from a file
    // (written whole, within the game's budget) and a save deleted.
    std::vector<SaveStore::Listed> savesOf(const std::string& movieKey);
    std::string folderOf(const std::string& movieKey);
    std::optional<std::string> bytesOf(const std::string& key);
    SaveResult bring(const std::string& movieKey, const std::string& key, const std::string& bytes);
    SaveResult discard(const std::string& movieKey, const std::string& key);

    // The player's settings the user last set for the movie, kept beside
    // its saves; the defaults when none are, or none fit to be read (which
    // is logged).
    PlayerSettings settings(const std::string& movieKey) const;

    // The page's questions, each about a save of a movie opened with the word
    // they carry: "get" its Base64 (nothing when there is none), "put"
    // whether it may now take that many bytes ("Done" or why not), "remove"
    // it ("Done"). A question without the movie's word gets no answer: the
    // address is the player's own, and a game may ask it too.
    std::optional<QByteArray> answer(const QString& question, const QUrlQuery& query);

    // Reached from the page only; what a page sends for a save the program
    // did not let it keep, or larger, is ignored.
public slots:
    void put(const QString& movieKey, const QString& key, const QString& base64);
    // Everything the page held has been sent.
    void flushed();
    // The user changed the player's settings of the movie: kept beside its
    // saves, under the name the game has now, written whole at once. An
    // empty quality is the player's own; a quality the settings do not
    // name, or a volume off the controls' scale, is ignored.
    void keepSettings(const QString& movieKey, const QString& quality, int volume, bool muted);

signals:
    void allSent();

private:
    // The movie's key and the save's key under the name the game has now;
    // nothing for a movie the page was not given.
    std::optional<std::pair<std::string, std::string>> current(const QString& movieKey,
                                                               const QString& key) const;
    // The movie's key under the name the game has now; nothing for a movie
    // the page was not given.
    std::optional<std::string> currentMovie(const std::string& movieKey) const;

    const SaveStore store_;
    SaveBudget budget_;
    std::set<std::string> opened_;
    // The word each opening gave, and the movie it was given for.
    std::map<QString, std::string> words_;
    std::map<std::string, std::string> movedTo_;
    // Last, so that it ends first and writes what waits while all else stands.
    SaveWriter writer_;
};
