#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// What a program really costs in memory: the proportional set size (Pss) of
// the program and of every process it started, so that the web engine's
// helper processes count and a library they share counts once.
namespace ProcessMemory {

struct Process {
    pid_t pid = 0;
    // The program's file name, with Chromium's --type= of a helper process
    // ("QtWebEngineProcess:renderer").
    std::string kind;
    long pssKb = 0;
};

// root and all its descendants (found through each process's parent), root first.
std::vector<Process> tree(pid_t root);

long totalKb(const std::vector<Process>& processes);

// Prints one "RESULT <prefix>_pss_mb" line for the total and one
// "PROCESS <prefix> kind MB" line for each process.
void report(const std::string& prefix, const std::vector<Process>& processes);

} // namespace ProcessMemory
