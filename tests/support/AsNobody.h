#pragma once

#include <functional>
#include <sys/wait.h>
#include <unistd.h>

// Runs work in a child process as the unprivileged user "nobody" and returns
// what it returned (0..255), or -1 when the child could not run it. The tests
// run as root, whom no permission stops; an ordinary user is what the
// program's users are.
inline int asNobody(const std::function<int()>& work) {
    const pid_t child = fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(255);
        _exit(work() & 0xFF);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) == 255)
        return -1;
    return WEXITSTATUS(status);
}
