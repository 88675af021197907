#pragma once

#include "library/CommandResult.h"

// Why a game command failed, its files and the reason, logged under
// "pelliwick.commands" whatever the window shows of it (often nothing, as
// the original program showed nothing).
class CommandLog {
public:
    // Whether the command was done; when it was not, the log says why.
    static bool done(const CommandResult& result);
};
