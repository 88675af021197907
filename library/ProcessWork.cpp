#include "library/ProcessWork.h"

#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

struct Stat {
    char state;
    std::int64_t cpuMs;
    std::int64_t residentBytes;
};

// A line of /proc's stat: after the name, in brackets that the name itself
// may hold, the state, ten numbers, the user and the system time in clock
// ticks, eight numbers more, then the pages in memory.
std::optional<Stat> readStat(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    if (!std::getline(file, line))
        return {};
    const auto nameEnd = line.rfind(')');
    if (nameEnd == std::string::npos)
        return {};
    std::istringstream fields(line.substr(nameEnd + 1));
    char state = 0;
    std::string skipped;
    unsigned long long user = 0;
    unsigned long long system = 0;
    fields >> state;
    for (int field = 0; field < 10; ++field)
        fields >> skipped;
    fields >> user >> system;
    for (int field = 0; field < 8; ++field)
        fields >> skipped;
    long long pages = 0;
    fields >> pages;
    if (!fields)
        return {};
    return Stat{state, std::int64_t((user + system) * 1000 / sysconf(_SC_CLK_TCK)),
                std::int64_t(pages) * sysconf(_SC_PAGESIZE)};
}

} // namespace

std::optional<ProcessWork> ProcessWork::of(long pid) {
    if (pid <= 0)
        return {};
    const std::string folder = "/proc/" + std::to_string(pid);
    const auto main = readStat(folder + "/task/" + std::to_string(pid) + "/stat");
    const auto all = readStat(folder + "/stat");
    if (!main || !all)
        return {};
    return ProcessWork{main->cpuMs, all->cpuMs, main->state, all->residentBytes};
}
