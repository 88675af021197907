#pragma once

#include <string>

// A game's file in its category folder, and which names may stand for one.
class GameFile {
public:
    // The file an entry stands for: folder, "/", the entry, ".swf".
    static std::string path(const std::string& folder, const std::string& entry);

    // A name that stays a file of the category folder itself: not empty, no
    // "/" (so no way into another folder, up or down), not "." or "..", and
    // no character the file system cannot store.
    static bool isPlainName(const std::string& name);

    // A name that ends in ".swf" in any letter case, as the names Add's
    // open-file dialog shows do.
    static bool hasGameExtension(const std::string& name);

    // The address a game plays from: "file://" and its path, as the original
    // player was given it. A path that a URL would cut short or misread (one
    // holding "#", "?" or "%"), one through a hidden folder, which the engine
    // refuses to keep saves for, or one that is not UTF-8 throughout, which
    // no text holds as it is, is percent-encoded instead.
    static std::string movieUrl(const std::string& path);
};
