#include "ProcessMemory.h"

#include "BenchClock.h"

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <map>
#include <sstream>

namespace ProcessMemory {

namespace {

pid_t parentOf(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line) || line.rfind(')') == std::string::npos)
        return -1;
    // After the command name in parentheses: the state, then the parent.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string state;
    pid_t parent = -1;
    fields >> state >> parent;
    return parent;
}

std::string kindOf(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/cmdline", std::ios::binary);
    std::vector<std::string> args;
    std::string arg;
    while (std::getline(file, arg, '\0'))
        args.push_back(arg);
    if (args.empty())
        return "?";
    std::string kind = args[0].substr(args[0].rfind('/') + 1);
    for (const std::string& a : args)
        if (a.starts_with("--type="))
            kind += ":" + a.substr(7);
    return kind;
}

long pssOf(pid_t pid) {
    std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
    std::string line;
    while (std::getline(rollup, line))
        if (line.starts_with("Pss:"))
            return std::strtol(line.c_str() + 4, nullptr, 10);
    return 0;
}

} // namespace

std::vector<Process> tree(pid_t root) {
    std::multimap<pid_t, pid_t> children;
    if (DIR* proc = opendir("/proc")) {
        while (const dirent* entry = readdir(proc)) {
            char* end = nullptr;
            const long pid = std::strtol(entry->d_name, &end, 10);
            if (*end == '\0' && pid > 0)
                children.emplace(parentOf(pid_t(pid)), pid_t(pid));
        }
        closedir(proc);
    }
    std::vector<Process> processes;
    std::vector<std::pair<pid_t, std::string>> pending{{root, {}}};
    while (!pending.empty()) {
        const auto [pid, parentKind] = pending.back();
        pending.pop_back();
        std::string kind = kindOf(pid);
        // Chromium's zygote forks the renderers, which keep its command line.
        if (kind.ends_with(":zygote") && parentKind.ends_with(":zygote"))
            kind.replace(kind.size() - 6, 6, "renderer");
        processes.push_back({pid, kind, pssOf(pid)});
        const auto [first, last] = children.equal_range(pid);
        for (auto it = first; it != last; ++it)
            pending.push_back({it->second, kind});
    }
    return processes;
}

long totalKb(const std::vector<Process>& processes) {
    long total = 0;
    for (const Process& p : processes)
        total += p.pssKb;
    return total;
}

void report(const std::string& prefix, const std::vector<Process>& processes) {
    BenchClock::report(prefix + "_pss_mb", totalKb(processes) / 1024.0);
    for (const Process& p : processes)
        std::printf("PROCESS %s %s %.1f\n", prefix.c_str(), p.kind.c_str(), p.pssKb / 1024.0);
    std::fflush(stdout);
}

} // namespace ProcessMemory
