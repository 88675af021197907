// memory-ballast MB [--first]: holds that many megabytes of memory, every page
// written, as the other programs of a machine hold theirs, until it is ended;
// prints "held MB" once it holds them all. The tests and benchmarks make a
// machine short of memory with it. With --first it ranks itself first for
// the kernel's out-of-memory killer, so that a test gone wrong costs the
// machine nothing but the ballast.
#include "library/OomKiller.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

int main(int argc, char** argv) {
    const long long megabytes = argc >= 2 ? std::atoll(argv[1]) : 0;
    if (megabytes <= 0 || (argc == 3 && std::strcmp(argv[2], "--first") != 0) || argc > 3) {
        std::fprintf(stderr, "usage: memory-ballast MB [--first]\n");
        return 2;
    }
    std::string why;
    if (argc == 3 && !OomKiller::rankFirst(getpid(), why)) {
        std::fprintf(stderr, "memory-ballast: %s\n", why.c_str());
        return 1;
    }
    const std::size_t size = std::size_t(megabytes) << 20;
    auto* bytes = static_cast<char*>(
        mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    if (bytes == MAP_FAILED) {
        std::perror("memory-ballast");
        return 1;
    }
    const std::size_t page = std::size_t(sysconf(_SC_PAGESIZE));
    for (std::size_t at = 0; at < size; at += page)
        bytes[at] = 1;
    std::printf("held %lld\n", megabytes);
    std::fflush(stdout);
    for (;;)
        pause();
}
