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

// Resident memory of the processes with each physical page counted once. Pss
// also divides a library's pages with every other program on the machine
// that maps it (another web engine program running beside the benchmark
// lowers it); this does not. Needs the page frame numbers that only root may
// read: 0 otherwise.
long uniqueKb(const std::vector<Process>& processes);

// Prints "RESULT <prefix>_pss_mb" and (for root) "RESULT <prefix>_unique_mb"
// for the totals and one "PROCESS <prefix> kind MB" line for each process's Pss.
void report(const std::string& prefix, const std::vector<Process>& processes);

} // namespace ProcessMemory
