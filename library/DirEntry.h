#pragma once

#include <string>

// One entry of a folder as the game library sees it: the name as stored on
// disk, its lower-case form (the sort key, and what the listing shows) and the
// attribute word.
struct DirEntry {
    // Attribute bits, with the values the library's rules are written in.
    static constexpr unsigned ReadOnly = 1;
    static constexpr unsigned Hidden = 2;
    static constexpr unsigned Directory = 16;
    // A symbolic link or any other special file: never a plain folder.
    static constexpr unsigned Special = 1024;

    std::string name;
    std::string lowerName;
    unsigned attributes = 0;
};
