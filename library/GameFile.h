#pragma once

#include <optional>
#include <string>
#include <string_view>

// A game: the folder its file lies in and the file's name there, as bytes,
// as the disk has them. Whatever the program says of a game it says from
// here: the file's path, the name shown for it, the address the player is
// given and the page plays it from, and the key its saves are kept under.
class GameFile {
public:
    GameFile(std::string folder, std::string fileName)
        : folder_(std::move(folder)), fileName_(std::move(fileName)) {}
    // The game an entry of a category's list stands for: the entry and ".swf".
    static GameFile ofEntry(std::string folder, std::string_view entry);
    // The game whose file is at path, an absolute one.
    static GameFile ofPath(std::string_view path);
    // The game a movie URL names: "file://" and an absolute path. Nothing for
    // any other address.
    static std::optional<GameFile> ofMovieUrl(std::string_view url);

    const std::string& folder() const { return folder_; }
    const std::string& fileName() const { return fileName_; }
    std::string path() const { return folder_ + "/" + fileName_; }
    // The entry the game list holds: the file's name less its extension's
    // four letters.
    std::string entry() const;
    // The name as the user reads it.
    std::u16string shownName() const;
    // Whether the entry stays a file of the folder itself: not empty, no "/"
    // (so no way into another folder, up or down), not "." or "..", and no
    // character the file system cannot store.
    bool isPlain() const;
    // Whether its name ends in ".swf" in any letter case, as the names Add's
    // open-file dialog shows do.
    bool hasGameExtension() const;

    // The same game under another entry of its folder, or in another folder.
    GameFile renamed(std::string_view entry) const { return ofEntry(folder_, entry); }
    GameFile movedTo(std::string folder) const { return GameFile(std::move(folder), fileName_); }

    // The player's Movie: "file://" and the path, nothing encoded, as the
    // original player was given it.
    std::string movieUrl() const;
    // The address the game plays from in the page, and that of its folder,
    // against which it finds its own files. A path that a URL would cut
    // short or misread (one holding "#", "?" or "%"), one through a hidden
    // folder, which the engine refuses to keep saves for, or one that is not
    // UTF-8 throughout, which no text holds as it is, is percent-encoded.
    std::string pageUrl() const;
    std::string pageFolderUrl() const;
    // The key the game's own saves are kept under, as the engine spells it.
    std::string savesKey() const;

    bool operator==(const GameFile&) const = default;

private:
    std::string folder_;
    std::string fileName_;
};
