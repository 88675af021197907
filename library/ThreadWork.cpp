#include "library/ThreadWork.h"

#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

std::optional<ThreadWork> ThreadWork::ofMainThread(long pid) {
    if (pid <= 0)
        return {};
    const std::string id = std::to_string(pid);
    std::ifstream file("/proc/" + id + "/task/" + id + "/stat");
    std::string line;
    if (!std::getline(file, line))
        return {};
    // After the thread's name, in brackets that the name itself may hold:
    // the state, ten numbers, then the user and the system time in ticks.
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
    if (!fields)
        return {};
    return ThreadWork{std::int64_t((user + system) * 1000 / sysconf(_SC_CLK_TCK)), state};
}
