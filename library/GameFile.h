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
};
