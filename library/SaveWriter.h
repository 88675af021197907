#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

// Carries the games' saves to the disk away from the window's thread, each
// save at most once an interval: a game that rewrites its saves at every
// frame has each written a few times a second, and always its last version.
// A save not written for an interval goes at once.
class SaveWriter {
public:
    // A version of a save: its bytes, or nothing for its removal.
    using Version = std::optional<std::string>;
    using Write = std::function<void(const std::string& key, const Version& version)>;

    SaveWriter(Write write, std::chrono::milliseconds interval);
    // What still waits is written first.
    ~SaveWriter();

    // The save's newest version, replacing any that still waits.
    void put(const std::string& key, Version version);
    // The version not yet on disk, while there is one.
    std::optional<Version> waiting(const std::string& key) const;
    // Returns once everything that waited is on disk.
    void drain();
    // Runs move while no save is being written, and when it succeeds, files
    // every save still waiting under a key that begins with from under to
    // instead. Saves waiting under to already keep move from running.
    bool move(const std::string& from, const std::string& to, const std::function<bool()>& move);

private:
    using Clock = std::chrono::steady_clock;
    struct Save {
        std::optional<Version> next;
        // When its last version went to disk; nothing for a save not written
        // yet, whose first version goes at once, however young the clock.
        std::optional<Clock::time_point> written;
    };
    void run();

    const Write write_;
    const std::chrono::milliseconds interval_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::map<std::string, Save> saves_;
    // The save being written, which is on disk only once it is done.
    std::optional<std::pair<std::string, Version>> writing_;
    bool hurry_ = false;
    bool ending_ = false;
    std::thread thread_;
};
