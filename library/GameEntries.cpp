#include "library/GameEntries.h"

#include <algorithm>

void GameEntries::push_back(std::string name, const std::string& folder) {
    if (runs_.empty() || runs_.back().folder != folder)
        runs_.push_back({names_.size(), folder});
    names_.push_back(std::move(name));
}

void GameEntries::append(GameEntries&& more) {
    const std::size_t offset = names_.size();
    names_.insert(names_.end(), std::make_move_iterator(more.names_.begin()),
                  std::make_move_iterator(more.names_.end()));
    for (Run& run : more.runs_)
        if (runs_.empty() || runs_.back().folder != run.folder)
            runs_.push_back({run.start + offset, std::move(run.folder)});
    more = {};
}

void GameEntries::erase(std::size_t index) {
    names_.erase(names_.begin() + std::ptrdiff_t(index));
    for (Run& run : runs_)
        if (run.start > index)
            --run.start;
    // A run that held only that entry goes, and its neighbours join when
    // they are of one folder.
    for (std::size_t i = 0; i < runs_.size();) {
        const std::size_t end = i + 1 < runs_.size() ? runs_[i + 1].start : names_.size();
        if (runs_[i].start == end || (i > 0 && runs_[i - 1].folder == runs_[i].folder))
            runs_.erase(runs_.begin() + std::ptrdiff_t(i));
        else
            ++i;
    }
}

bool GameEntries::operator==(const GameEntries& other) const {
    if (names_ != other.names_)
        return false;
    for (std::size_t i = 0; i < size(); ++i)
        if (folderOf(i) != other.folderOf(i))
            return false;
    return true;
}

const std::string& GameEntries::folderOf(std::size_t index) const {
    const auto after =
        std::upper_bound(runs_.begin(), runs_.end(), index,
                         [](std::size_t i, const Run& run) { return i < run.start; });
    return std::prev(after)->folder;
}
