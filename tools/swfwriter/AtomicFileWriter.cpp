#include "AtomicFileWriter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

std::string describe(const std::string& what, int errorNumber) {
    return what + ": " + std::strerror(errorNumber);
}

bool writeAll(int fd, const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

bool AtomicFileWriter::write(const std::string& path, const std::vector<std::uint8_t>& bytes,
                             std::string& error) {
    // The temporary file sits in the target's folder, since a rename only
    // replaces a file atomically within one file system. O_EXCL keeps us
    // from writing through a file or link someone else put there.
    const std::string base = path + ".tmp" + std::to_string(::getpid()) + "-";
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = base + std::to_string(attempt);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            error = describe(path, errno);
            return false;
        }
    }
    if (fd < 0) {
        error = path + ": no free temporary name";
        return false;
    }

    const auto fail = [&](int errorNumber) {
        if (fd >= 0)
            ::close(fd);
        ::unlink(temporary.c_str());
        error = describe(path, errorNumber);
        return false;
    };
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0)
        return fail(errno);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0)
        return fail(errno);
    if (std::rename(temporary.c_str(), path.c_str()) != 0)
        return fail(errno);
    return true;
}
