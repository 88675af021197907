#pragma once

#include "library/SaveResult.h"
#include "library/SaveStore.h"

#include <optional>
#include <string>
#include <vector>

// The saves' bridge of the plain player (see TShockwaveFlash.h beside it),
// which plays no game and so keeps no saves.
class SaveBridge {
public:
    std::vector<SaveStore::Listed> savesOf(const std::string&) { return {}; }
    std::string folderOf(const std::string&) { return {}; }
    std::optional<std::string> bytesOf(const std::string&) { return std::nullopt; }
    SaveResult bring(const std::string&, const std::string&, const std::string&) {
        return SaveResult::Failed;
    }
    SaveResult discard(const std::string&, const std::string&) { return SaveResult::Failed; }
};
