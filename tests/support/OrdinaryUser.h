#pragma once

#include <functional>
#include <grp.h>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

// Runs work in a child process as an ordinary user, whom permissions stop as
// they stop the program's users, and returns what work returned, or nothing
// when the child could not run it. No permission stops root, so a test run by
// root switches the child to "nobody" (without root's groups) first; a test
// run by an ordinary user is that user already.
inline std::optional<std::string> asOrdinaryUser(const std::function<std::string()>& work) {
    int fds[2];
    if (pipe(fds) != 0)
        return std::nullopt;
    const pid_t child = fork();
    if (child < 0) {
        close(fds[0]);
        close(fds[1]);
        return std::nullopt;
    }
    if (child == 0) {
        close(fds[0]);
        if (geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
            _exit(1);
        const std::string out = work();
        for (size_t done = 0; done < out.size();) {
            const ssize_t n = write(fds[1], out.data() + done, out.size() - done);
            if (n <= 0)
                _exit(1);
            done += static_cast<size_t>(n);
        }
        _exit(0);
    }
    close(fds[1]);
    std::string out;
    char buffer[4096];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
        out.append(buffer, static_cast<size_t>(n));
    close(fds[0]);
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return out;
}
