#pragma once

#include <cstdint>
#include <optional>

// What the kernel counts of a process's main thread: the CPU time it has
// worked, and whether it runs.
struct ThreadWork {
    std::int64_t cpuMs;
    // The kernel's letter: R running or waiting to run, S asleep, D waiting
    // on a device, T stopped.
    char state;

    // Readable for any process of the user, even one that a sandbox hides
    // otherwise; nothing for a process that is gone or never was.
    static std::optional<ThreadWork> ofMainThread(long pid);
};
