#pragma once

#include "library/SaveStore.h"

#include <future>
#include <map>
#include <optional>
#include <string>

// Keeps every game within its budget and all saves within the store's. A
// change is weighed here before the game hears whether it is saved, and
// counted at once, though it reaches the disk later. A shelf is counted on
// disk the first time a change needs it, the whole store from the start on
// a thread of its own, and from then on both are kept up to date here;
// neither count reads past its budget.
//
// A game's own saves count against its budget alone, so that what other
// games share never takes its room; what it shares counts together with
// everything it sees, its own shelf and those above it.
class SaveBudget {
public:
    explicit SaveBudget(const SaveStore& store);

    // Whether the movie may keep that save at that size: Done, and the room
    // is the save's from now on (with the folders it needs); or why not. A
    // change that takes no more room is always let through.
    SaveResult admit(const std::string& movieKey, const std::string& key, std::uint64_t bytes);
    // The save is gone, and its room free again.
    void release(const std::string& movieKey, const std::string& key);
    // The room given to the save; nothing for one never admitted since the
    // program started, or removed since.
    std::optional<std::uint64_t> admitted(const std::string& key) const;
    // The game's own saves now go by its new name.
    void gameMoved(const std::string& fromMovieKey, const std::string& toMovieKey);

private:
    SaveStore::Usage& shelf(const std::string& path);
    SaveStore::Usage& all();
    std::optional<std::uint64_t> sizeNow(const std::string& key,
                                         const SaveStore::Place& place) const;

    const SaveStore& store_;
    std::map<std::string, SaveStore::Usage> shelves_;
    std::future<SaveStore::Usage> counting_;
    std::optional<SaveStore::Usage> all_;
    // Every save changed since the program started: its room, or nothing
    // once removed.
    std::map<std::string, std::optional<std::uint64_t>> sizes_;
};
