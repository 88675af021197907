// sound-level: reads 16-bit mono samples at 8000 Hz from standard input (as
// parec records a sink's monitor) and prints, for every 10 ms of them, the
// wall-clock time in milliseconds and the loudest sample, one line each.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

int main() {
    constexpr int Window = 80; // samples: 10 ms at 8000 Hz
    std::int16_t samples[Window];
    std::size_t have = 0;
    for (ssize_t n;
         (n = read(0, reinterpret_cast<char*>(samples) + have, sizeof samples - have)) > 0;) {
        have += std::size_t(n);
        if (have < sizeof samples)
            continue;
        have = 0;
        int peak = 0;
        for (const std::int16_t sample : samples)
            peak = std::max(peak, std::abs(int(sample)));
        const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::system_clock::now().time_since_epoch());
        std::printf("%lld %d\n", static_cast<long long>(now.count()), peak);
        std::fflush(stdout);
    }
    return 0;
}
