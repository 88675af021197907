#include "ProcessMemory.h"

#include "BenchClock.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <sstream>
#include <unistd.h>

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

// The address ranges of pid that hold resident pages.
std::vector<std::pair<std::uint64_t, std::uint64_t>> residentRanges(pid_t pid) {
    std::ifstream smaps("/proc/" + std::to_string(pid) + "/smaps");
    std::vector<std::pair<std::uint64_t, std::uint64_t>> ranges;
    std::uint64_t start = 0, end = 0;
    std::string line;
    while (std::getline(smaps, line)) {
        if (line.starts_with("Rss:")) {
            if (std::strtol(line.c_str() + 4, nullptr, 10) > 0)
                ranges.emplace_back(start, end);
        } else if (std::isxdigit(static_cast<unsigned char>(line[0])) &&
                   line.find('-') != std::string::npos) {
            char* rest = nullptr;
            start = std::strtoull(line.c_str(), &rest, 16);
            end = std::strtoull(rest + 1, nullptr, 16);
        }
    }
    return ranges;
}

// Appends the page frame numbers of pid's resident pages to frames.
void appendFrames(pid_t pid, std::vector<std::uint64_t>& frames) {
    const int pagemap = open(("/proc/" + std::to_string(pid) + "/pagemap").c_str(), O_RDONLY);
    if (pagemap < 0)
        return;
    const std::uint64_t page = sysconf(_SC_PAGESIZE);
    constexpr std::uint64_t Present = 1ull << 63, FrameBits = (1ull << 55) - 1;
    std::vector<std::uint64_t> entries(1 << 16);
    for (const auto& [start, end] : residentRanges(pid)) {
        for (std::uint64_t at = start / page; at < end / page;) {
            const std::uint64_t count = std::min<std::uint64_t>(entries.size(), end / page - at);
            const ssize_t got = pread(pagemap, entries.data(), count * 8, off_t(at * 8));
            if (got <= 0)
                break;
            for (ssize_t i = 0; i < got / 8; ++i)
                if ((entries[i] & Present) && (entries[i] & FrameBits))
                    frames.push_back(entries[i] & FrameBits);
            at += std::uint64_t(got) / 8;
        }
    }
    close(pagemap);
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

long uniqueKb(const std::vector<Process>& processes) {
    std::vector<std::uint64_t> frames;
    for (const Process& p : processes)
        appendFrames(p.pid, frames);
    std::sort(frames.begin(), frames.end());
    const auto pages = std::unique(frames.begin(), frames.end()) - frames.begin();
    return long(pages * (sysconf(_SC_PAGESIZE) / 1024));
}

void report(const std::string& prefix, const std::vector<Process>& processes) {
    BenchClock::report(prefix + "_pss_mb", totalKb(processes) / 1024.0);
    if (const long unique = uniqueKb(processes))
        BenchClock::report(prefix + "_unique_mb", unique / 1024.0);
    for (const Process& p : processes)
        std::printf("PROCESS %s %s %.1f\n", prefix.c_str(), p.kind.c_str(), p.pssKb / 1024.0);
    std::fflush(stdout);
}

} // namespace ProcessMemory
