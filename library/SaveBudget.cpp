#include "library/SaveBudget.h"

#include <vector>

namespace {

using Usage = SaveStore::Usage;

Usage& operator+=(Usage& usage, const Usage& more) {
    usage.bytes += more.bytes;
    usage.saves += more.saves;
    usage.folders += more.folders;
    return usage;
}

Usage& operator-=(Usage& usage, const Usage& less) {
    usage.bytes -= std::min(usage.bytes, less.bytes);
    usage.saves -= std::min(usage.saves, less.saves);
    usage.folders -= std::min(usage.folders, less.folders);
    return usage;
}

// Whether what grows stays within the budget; what does not grow may stay
// past it, as an older store may have left it.
bool fits(const Usage& usage, const Usage& more, const Usage& budget) {
    return (more.bytes == 0 || usage.bytes + more.bytes <= budget.bytes) &&
           (more.saves == 0 || usage.saves + more.saves <= budget.saves) &&
           (more.folders == 0 || usage.folders + more.folders <= budget.folders);
}

// The shelves of the folders above a movie's own, nearest first, down to
// the whole disk's ("").
std::vector<std::string> shelvesAbove(const std::string& own) {
    std::vector<std::string> above;
    for (std::size_t end = own.size();
         (end = own.rfind('/', end - 1)) != std::string::npos && end > 0;)
        above.push_back(own.substr(0, end));
    above.emplace_back();
    return above;
}

} // namespace

SaveBudget::SaveBudget(const SaveStore& store)
    : store_(store),
      counting_(std::async(std::launch::async, [&store] { return store.countAll(); })) {}

SaveStore::Usage& SaveBudget::shelf(const std::string& path) {
    auto found = shelves_.find(path);
    if (found == shelves_.end())
        found = shelves_.emplace(path, store_.countShelf(path)).first;
    return found->second;
}

SaveStore::Usage& SaveBudget::all() {
    if (!all_)
        all_ = counting_.get();
    return *all_;
}

std::optional<std::uint64_t> SaveBudget::sizeNow(const std::string& key,
                                                 const SaveStore::Place& place) const {
    const auto known = sizes_.find(key);
    return known != sizes_.end() ? known->second : store_.sizeOf(place);
}

std::optional<std::uint64_t> SaveBudget::admitted(const std::string& key) const {
    const auto known = sizes_.find(key);
    return known != sizes_.end() ? known->second : std::nullopt;
}

SaveResult SaveBudget::admit(const std::string& movieKey, const std::string& key,
                             std::uint64_t bytes) {
    const std::optional<SaveStore::Place> place = SaveStore::placeFor(movieKey, key);
    if (!place)
        return SaveResult::NotTheGames;
    if (bytes > SaveStore::MaxSaveBytes)
        return SaveResult::TooLarge;
    const std::optional<std::uint64_t> existing = sizeNow(key, *place);
    const std::uint64_t before = existing.value_or(0);
    const SaveStore::Lacking lacking = store_.lacking(*place);
    const Usage more{bytes > before ? bytes - before : 0, !existing, lacking.nameFolders};
    Usage& onShelf = shelf(place->shelf);
    if (more.bytes > 0 || more.saves > 0 || more.folders > 0) {
        const std::string own = SaveStore::shelfOf(movieKey);
        Usage seen = shelf(own);
        if (place->shelf != own)
            for (const std::string& above : shelvesAbove(own))
                seen += shelf(above);
        if (!fits(seen, more, SaveStore::GameBudget))
            return SaveResult::OverBudget;
        const Usage inStore{more.bytes, more.saves, more.folders + lacking.pathFolders};
        if (!fits(all(), inStore, SaveStore::StoreBudget))
            return SaveResult::StoreFull;
        if (const SaveResult made = store_.makeFolders(*place); made != SaveResult::Done)
            return made;
        onShelf += more;
        all() += inStore;
    } else if (bytes < before) {
        onShelf -= Usage{before - bytes, 0, 0};
        if (all_)
            *all_ -= Usage{before - bytes, 0, 0};
    }
    sizes_[key] = bytes;
    return SaveResult::Done;
}

void SaveBudget::release(const std::string& movieKey, const std::string& key) {
    const std::optional<SaveStore::Place> place = SaveStore::placeFor(movieKey, key);
    if (!place)
        return;
    if (const std::optional<std::uint64_t> before = sizeNow(key, *place)) {
        shelf(place->shelf) -= Usage{*before, 1, 0};
        if (all_)
            *all_ -= Usage{*before, 1, 0};
    }
    sizes_[key] = std::nullopt;
}

void SaveBudget::gameMoved(const std::string& fromMovieKey, const std::string& toMovieKey) {
    // Both shelves are counted anew on disk, where the move left them.
    shelves_.erase(SaveStore::shelfOf(fromMovieKey));
    shelves_.erase(SaveStore::shelfOf(toMovieKey));
    const std::string from = fromMovieKey + "/";
    std::map<std::string, std::optional<std::uint64_t>> moved;
    for (auto it = sizes_.lower_bound(from); it != sizes_.end() && it->first.starts_with(from);) {
        moved[toMovieKey + "/" + it->first.substr(from.size())] = it->second;
        it = sizes_.erase(it);
    }
    for (auto& [key, size] : moved)
        sizes_[key] = size;
}
