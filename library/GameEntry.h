#pragma once

#include <string>

// One line of a category's game list: the name it shows, and the folder,
// within the category folder, of the file it was listed from. The name is the
// file's lower-case name less its last four characters; the folder is empty
// for a file at the category's top, and otherwise the subfolders' names as
// the disk stores them, joined by "/" ("Puzzles", "Packs/Old").
struct GameEntry {
    std::string name;
    std::string folder;

    bool operator==(const GameEntry&) const = default;
};
