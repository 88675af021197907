#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The kernel's last resort when the machine runs out of memory: it ends the
// process it ranks first. A game that takes more in one step than the machine
// has outruns every check between two steps; ranked first, its own process
// is the one the kernel ends.
class OomKiller {
public:
    // Ranks the process first, ahead of every process left at the kernel's
    // default; false, and why, when the kernel refuses.
    static bool rankFirst(long pid, std::string& why);
    // How many processes the kernel has ended for want of memory since the
    // machine started; nothing where it does not tell.
    static std::optional<std::int64_t> kills();
};
