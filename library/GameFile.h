#pragma once

#include "library/GameEntry.h"

#include <optional>
#include <string>
#include <string_view>

// A game: the folder its file lies in and the file's name there, as bytes,
// as the disk has them, and the folder that holds it, its category. Whatever
// the program says of a game it says from here: the file's path, the name
// shown for it, the address the player is given and the page plays it from,
// and the key its saves are kept under. A game's folder is reached from its
// category through plain folders alone: the file layer refuses a way through
// a link below the category, so that nothing outside it is ever read or
// changed for the game.
class GameFile {
public:
    // A game whose folder is its own category: nothing above the folder is
    // the game's.
    GameFile(std::string folder, std::string fileName)
        : category_(folder), folder_(std::move(folder)), fileName_(std::move(fileName)) {}
    // The game an entry of a category's list stands for: the entry's name and
    // ".swf", in the entry's folder within the category.
    static GameFile ofEntry(std::string category, const GameEntry& entry);
    // The game whose file is at path, an absolute one.
    static GameFile ofPath(std::string_view path);
    // The game a movie URL names: "file://" and an absolute path. Nothing for
    // any other address.
    static std::optional<GameFile> ofMovieUrl(std::string_view url);

    const std::string& category() const { return category_; }
    const std::string& folder() const { return folder_; }
    const std::string& fileName() const { return fileName_; }
    std::string path() const { return folder_ + "/" + fileName_; }
    // The entry's name the game list shows: the file's name less its
    // extension's four letters.
    std::string entry() const;
    // The entry the game list holds for the game: its name and its folder
    // within the category.
    GameEntry listEntry() const;
    // The name as the user reads it.
    std::u16string shownName() const;
    // Whether the entry stays a file of the folder itself: not empty, no "/"
    // (so no way into another folder, up or down), not "." or "..", and no
    // character the file system cannot store.
    bool isPlain() const;
    // Whether its name ends in ".swf" in any letter case, as the names Add's
    // open-file dialog shows do.
    bool hasGameExtension() const;

    // The same game under another name in its folder, or at the top of
    // another category.
    GameFile renamed(std::string_view entry) const;
    GameFile movedTo(std::string category) const {
        return GameFile(std::move(category), fileName_);
    }

    // The player's Movie: "file://" and the path, nothing encoded, as the
    // original player was given it.
    std::string movieUrl() const;
    // The address the game plays from in the page, and that of its folder,
    // against which it finds its own files. The page's address names the
    // file as the listing does, in lower case, whatever case Add, Modify or
    // Move gave it: the address is also where the game's saves are kept, and
    // the game must find them at the next start, listed anew. A path that a URL would cut
    // short or misread (one holding "#", "?" or "%"), one through a hidden
    // folder, which the engine refuses to keep saves for, or one that is not
    // UTF-8 throughout, which no text holds as it is, is percent-encoded.
    std::string pageUrl() const;
    std::string pageFolderUrl() const;
    // The key the game's own saves are kept under, as the engine spells it:
    // that of the page's address.
    std::string savesKey() const;

    bool operator==(const GameFile&) const = default;

private:
    // The path as the listing names the file: its name in lower case.
    std::string listedPath() const;

    GameFile(std::string category, std::string folder, std::string fileName)
        : category_(std::move(category)), folder_(std::move(folder)),
          fileName_(std::move(fileName)) {}

    std::string category_;
    std::string folder_;
    std::string fileName_;
};
