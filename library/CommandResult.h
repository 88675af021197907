#pragma once

#include "library/FileResult.h"

#include <string>

// What a game command came to: done, or why not, told in words for the log.
struct CommandResult {
    FileResult result = FileResult::Done;
    // Empty when done: the command, its files and the reason it failed.
    std::string reason;

    bool done() const { return result == FileResult::Done; }
};
