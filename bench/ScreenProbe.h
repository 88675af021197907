#pragma once

#include <QColor>
#include <QRect>
#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

struct xcb_connection_t;

// Watches a few strips of the screen for something to be drawn, from a thread
// of its own with its own connection to the X server: the moment it notes is
// when the pixels reached the screen, even while the program's GUI thread is
// busy (the player starts its engine on that thread right after the first
// paint, and a poll from a GUI timer would only run once that is done).
class ScreenProbe {
public:
    using Test = std::function<bool(const std::vector<QColor>&)>;

    // Connects to $DISPLAY; aborts the benchmark when there is none.
    ScreenProbe();
    ~ScreenProbe();
    ScreenProbe(const ScreenProbe&) = delete;
    ScreenProbe& operator=(const ScreenProbe&) = delete;

    // Starts watching: every PollMs, reads the pixels of strips (screen
    // coordinates) and hands them to test, until test holds.
    void watch(std::vector<QRect> strips, Test test);
    // The moment (BenchClock::now()) test first held; 0 until then.
    std::int64_t seenAt() const { return seenAt_.load(); }
    // Runs the Qt event loop until test held or timeoutMs passed; returns
    // seenAt(), 0 on timeout. Stops watching either way.
    std::int64_t wait(int timeoutMs);

    // The tests the benchmarks use.
    // Every pixel within a few steps of colour (the movie fills the area).
    static Test all(QColor colour);
    // Dark text on a light background: a drawn list line.
    static Test text();

    static constexpr int PollMs = 2;

private:
    void run(std::vector<QRect> strips, Test test);
    bool read(const std::vector<QRect>& strips, std::vector<QColor>& pixels);
    void stop();

    xcb_connection_t* connection_ = nullptr;
    std::uint32_t root_ = 0;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<std::int64_t> seenAt_{0};
};
