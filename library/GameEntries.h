#pragma once

#include "library/GameEntry.h"

#include <cstddef>
#include <string>
#include <vector>

// The entries of a game list, in their order, kept as compactly as their
// names alone: a listing holds them by the hundred thousand, and on a
// category change all of them are new memory. The scan lists a folder's
// games one after the other, so the folder each stands for is kept once per
// run of entries of one folder.
class GameEntries {
public:
    std::size_t size() const { return names_.size(); }
    bool empty() const { return names_.empty(); }
    // The entry at index, which must be below size().
    GameEntry operator[](std::size_t index) const { return {names_[index], folderOf(index)}; }
    const std::string& name(std::size_t index) const { return names_[index]; }

    void push_back(std::string name, const std::string& folder);
    void push_back(GameEntry entry) { push_back(std::move(entry.name), entry.folder); }
    // The entries of more after these.
    void append(GameEntries&& more);
    // A new name for the entry at index, in the same folder.
    void rename(std::size_t index, std::string name) { names_[index] = std::move(name); }
    void erase(std::size_t index);

    bool operator==(const GameEntries& other) const;

private:
    struct Run {
        std::size_t start;
        std::string folder;
    };
    const std::string& folderOf(std::size_t index) const;

    std::vector<std::string> names_;
    // Runs in the order of their start, the first at 0; none is empty.
    std::vector<Run> runs_;
};
