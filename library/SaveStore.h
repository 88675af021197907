#pragma once

#include "library/SaveResult.h"

#include <string>
#include <vector>

// The games' saves: their local shared objects, kept for the user as the
// original player kept them, one .sol file each. The engine names a shared
// object "localhost/" + the path it belongs to + "/" + its name: by default
// the path is the movie's own URL path ("localhost/home/u/Action/pong.swf/
// scores"), and a movie may ask for a folder above it to share with the
// games there ("localhost//best" for the whole disk, "localhost/home/u/
// Action/best"). The store mirrors that in folders, so that a game's own
// saves are the folder named after its file: localhost/home/u/Action/
// pong.swf/scores.sol.
class SaveStore {
public:
    // Saves larger than this are refused, as the original player refused
    // saves beyond its limit, and so are new ones in a folder that holds
    // this many already.
    static constexpr std::size_t MaxSaveBytes = 1 << 20;
    static constexpr std::size_t MaxSavesPerFolder = 256;

    struct Save {
        std::string key;
        std::string bytes;
    };

    // The user's store: $XDG_DATA_HOME/pelliwick-saves, by default
    // ~/.local/share/pelliwick-saves. It lies outside every program folder
    // (the package's is $XDG_DATA_HOME/pelliwick), so that neither an
    // upgrade nor a moved or removed program folder touches it.
    static std::string userFolder();

    explicit SaveStore(std::string folder) : folder_(std::move(folder)) {}

    // The path a movie's own saves belong to, from the URL the movie plays
    // from, as the engine spells it: "localhost/" and the URL's path, with
    // what a URL may not hold percent-encoded.
    static std::string movieKey(const std::string& movieUrl);
    // The movie key of the game file at an absolute path, played as
    // "file://" + path.
    static std::string movieKeyOfPath(const std::string& path);

    // Every save the movie may open: its own, and those of the folders above
    // it. A save that cannot be read is left out.
    std::vector<Save> visibleTo(const std::string& movieKey) const;

    // Writes a save of that movie whole, replacing the one before: a crash
    // at any moment leaves the old save or the new one, never half of one.
    SaveResult put(const std::string& movieKey, const std::string& key,
                   const std::string& bytes) const;
    SaveResult remove(const std::string& movieKey, const std::string& key) const;

    // A game's own saves follow it to its new file; those it shares with
    // its folder stay. Saves already filed under the new name are never
    // replaced: then the game's saves stay where they were.
    SaveResult moveGame(const std::string& fromMovieKey, const std::string& toMovieKey) const;

private:
    // The file a key is kept in, or empty for a key the store cannot hold.
    std::string fileOf(const std::string& key) const;

    const std::string folder_;
};
