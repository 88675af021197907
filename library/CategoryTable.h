#pragma once

#include <array>
#include <string>
#include <string_view>

// The seven game categories, in the order of the category selector. Each
// caption is its folder's name followed by " Games"; the folder is derived
// from the caption, so the two can never drift apart.
class CategoryTable {
public:
    static constexpr std::array<std::string_view, 7> Captions = {
        "Action Games", "Adventure Games", "Classic Games", "Shooting Games",
        "Sport Games",  "Board Games",     "Other Games"};

    // The caption's text before its first blank.
    static std::string folderName(std::string_view caption);
};
