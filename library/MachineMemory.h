#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// What the machine has of memory, as the kernel tells it: all of it, and what
// programs may still take before the kernel has to take memory back from
// others. The kernel counts what every process holds already, the game's
// render process too, out of what is available.
struct MachineMemory {
    std::int64_t totalBytes;
    std::int64_t availableBytes;

    // From the text of /proc/meminfo; nothing when either figure is missing
    // (kernels before 3.14 tell no MemAvailable) or makes no sense.
    static std::optional<MachineMemory> parse(std::string_view text);
    // The machine's memory now, from the kernel's file; nothing when it
    // cannot be read, and why in `why`.
    static std::optional<MachineMemory> read(std::string& why,
                                             const std::string& path = "/proc/meminfo");
};
