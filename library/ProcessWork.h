#pragma once

#include <cstdint>
#include <optional>

// What the kernel counts of a process's work: the CPU time of its main thread
// and of all its threads, whether the main thread runs, and the memory the
// process holds.
struct ProcessWork {
    std::int64_t mainThreadMs;
    std::int64_t allThreadsMs;
    // The kernel's letter for the main thread: R running or waiting to run,
    // S asleep, D waiting on a device, T stopped.
    char mainThreadState;
    // Its pages in memory (not swapped out), in bytes.
    std::int64_t residentBytes;

    // Readable for any process of the user, even one that a sandbox hides
    // otherwise; nothing for a process that is gone or never was.
    static std::optional<ProcessWork> of(long pid);
};
