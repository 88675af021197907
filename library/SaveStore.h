#pragma once

#include "library/SaveResult.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The games' saves: their local shared objects, kept for the user as the
// original player kept them, one .sol file each. The engine names a shared
// object "localhost/" + the path it belongs to + "/" + its name: by default
// the path is the movie's own URL path ("localhost/home/u/Action/pong.swf/
// scores"), and a movie may ask for a folder above it to share with the
// games there ("localhost//best" for the whole disk, "localhost/home/u/
// Action/best"). The store mirrors that in folders, so that a game's own
// saves are the folder named after its file: localhost/home/u/Action/
// pong.swf/scores.sol. The saves of one path are its shelf: a game's own
// shelf, and the shelves of the folders above it, which it shares.
class SaveStore {
public:
    // What saves take: their bytes, their number, and their folders.
    struct Usage {
        std::uint64_t bytes = 0;
        std::uint64_t saves = 0;
        std::uint64_t folders = 0;
    };
    // What a count stopped short of, past its budget, comes to: more than
    // any budget, and still so after any change a game may make.
    static constexpr std::uint64_t Beyond = std::uint64_t(1) << 60;

    // A save larger than this is refused, as the original player refused
    // saves beyond its limit.
    static constexpr std::size_t MaxSaveBytes = 1 << 20;
    // A name holding "/" is kept in folders of names, at most this many deep.
    static constexpr std::size_t MaxNameDepth = 8;
    // A part of a name or path longer than this no file system is sure to hold.
    static constexpr std::size_t MaxSegmentBytes = 240;
    // Everything a game may see, its own shelf and those above it, and
    // everything in the store.
    static constexpr Usage GameBudget{std::uint64_t(16) << 20, 500, 100};
    static constexpr Usage StoreBudget{std::uint64_t(256) << 20, 10000, 5000};

    // Where a save is kept: the path of its shelf ("" for the whole disk)
    // and its name there ("scores", "#levels/one").
    struct Place {
        std::string shelf;
        std::string name;
    };

    // The user's store: $XDG_DATA_HOME/pelliwick-saves, by default
    // ~/.local/share/pelliwick-saves. It lies outside every program folder
    // (the package's is $XDG_DATA_HOME/pelliwick), so that neither an
    // upgrade nor a moved or removed program folder touches it.
    static std::string userFolder();

    explicit SaveStore(std::string folder) : folder_(std::move(folder)) {}

    // The path a movie's own saves belong to, from the path of the URL the
    // movie plays from, as the engine spells it: "localhost/" and that
    // path, with what a URL may not hold percent-encoded.
    static std::string movieKey(std::string_view urlPath);

    // The store's rules for a save's key, the one place they are written:
    // where the save is kept, or nothing for a key the store does not keep.
    // Every part of its path and name is a name of its own (never empty,
    // never a way up, nothing hidden), valid UTF-8 without control
    // characters or backslashes, and short enough for any file system; a
    // name holding "/" begins with "#", as the engine writes it, and reaches
    // at most MaxNameDepth folders down.
    static std::optional<Place> placeOf(const std::string& key);
    // The same for a save the movie may open and write: one on its own
    // shelf or on a shelf above it.
    static std::optional<Place> placeFor(const std::string& movieKey, const std::string& key);
    // The movie's own shelf.
    static std::string shelfOf(const std::string& movieKey);

    // The save's bytes; nothing when there is none, or none that a save
    // may be (too large, not a plain file, unreadable).
    std::optional<std::string> read(const Place& place) const;
    // The size of the save on disk; nothing when there is none.
    std::optional<std::uint64_t> sizeOf(const Place& place) const;
    // The folders a save there would need and the store lacks: those of
    // its shelf's path, and those of its name.
    struct Lacking {
        std::uint64_t pathFolders = 0;
        std::uint64_t nameFolders = 0;
    };
    Lacking lacking(const Place& place) const;

    // A shelf's saves and folders of names on disk, or all the store's
    // saves and folders. Counting stops as soon as it passes the budget:
    // then every figure reads Beyond, and what lies further is never read.
    Usage countShelf(const std::string& shelf) const;
    Usage countAll() const;

    // A save as the user sees it among a game's saves.
    struct Listed {
        // Its key, as the engine names it, and the name the game gave it
        // ("progress", "levels/one").
        std::string key;
        std::string name;
        std::uint64_t bytes = 0;
        // When it was last written, in milliseconds since 1970.
        std::int64_t writtenMs = 0;
        // One of a folder above the game's own, which other games there see.
        bool shared = false;
    };
    // The movie's own saves and those it shares with the folders above it,
    // newest first, as they are on disk; at most MaxListed of them.
    static constexpr std::size_t MaxListed = 10000;
    std::vector<Listed> savesOf(const std::string& movieKey) const;
    // The key a save of that name, as a .sol file gives it, has among the
    // movie's own: a name holding "/" is filed under "#", as the engine
    // files it. Nothing for a name the store does not keep.
    static std::optional<std::string> ownKey(const std::string& movieKey, const std::string& name);

    // Makes the folders a save there needs.
    SaveResult makeFolders(const Place& place) const;
    // Writes a save whole, replacing the one before: a crash at any moment
    // leaves the old save or the new one, never half of one.
    SaveResult put(const Place& place, const std::string& bytes) const;
    SaveResult remove(const Place& place) const;

    // A game's own saves follow it to its new file; those it shares with
    // its folder stay. Saves already filed under the new name are never
    // replaced: then the game's saves stay where they were.
    SaveResult moveGame(const std::string& fromMovieKey, const std::string& toMovieKey) const;

    // The folder of the movie's own shelf; nothing for a movie key the store
    // does not file. The program keeps files of its own about the game
    // there, under hidden names: no game may open one as a save, no count
    // reads one, and moveGame takes them along with the game's saves.
    std::optional<std::string> gameFolder(const std::string& movieKey) const;
    // Writes such a file whole, as a save is written, its folder made when
    // missing; and takes it away.
    SaveResult putGameFile(const std::string& movieKey, std::string_view name,
                           std::string_view bytes) const;
    SaveResult removeGameFile(const std::string& movieKey, std::string_view name) const;

private:
    std::string shelfFolder(const std::string& shelf) const;
    std::string fileOf(const Place& place) const;

    const std::string folder_;
};
