#include "BenchClock.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace BenchClock {

namespace {

std::int64_t nanoseconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return std::int64_t(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

std::int64_t fromEnvironment() {
    const char* text = std::getenv("PELLIWICK_T0");
    if (!text || !*text)
        return 0;
    // "1712345678.123456": whole seconds, then microseconds.
    char* end = nullptr;
    const long long seconds = std::strtoll(text, &end, 10);
    long long micros = 0;
    if (*end == '.' || *end == ',') {
        std::string digits(end + 1);
        digits.resize(6, '0');
        micros = std::strtoll(digits.c_str(), nullptr, 10);
    }
    return seconds * 1'000'000'000 + micros * 1000;
}

std::int64_t fromKernel() {
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    // The fields after the command name, which may itself hold spaces; the
    // start time is the 22nd field, the 20th after the name.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    for (int i = 0; i < 19; ++i)
        fields >> field;
    unsigned long long ticks = 0;
    fields >> ticks;
    // Ticks since boot; /proc/uptime counts on the same clock.
    double uptime = 0;
    std::ifstream("/proc/uptime") >> uptime;
    const double ageSeconds = uptime - double(ticks) / double(sysconf(_SC_CLK_TCK));
    return now() - std::int64_t(ageSeconds * 1e9);
}

} // namespace

std::int64_t now() {
    return nanoseconds(CLOCK_REALTIME);
}

std::int64_t processStart() {
    static const std::int64_t start = [] {
        const std::int64_t given = fromEnvironment();
        return given ? given : fromKernel();
    }();
    return start;
}

double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void report(const std::string& name, double value) {
    std::printf("RESULT %s %.1f\n", name.c_str(), value);
    std::fflush(stdout);
}

} // namespace BenchClock
