#include "library/PlayerSettingsFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

PlayerSettingsFile::Reading PlayerSettingsFile::read(const std::string& movieKey) const {
    const std::optional<std::string> folder = store_.gameFolder(movieKey);
    if (!folder)
        return {};
    const std::string path = *folder + "/" + std::string(Name);
    // Not held up by a pipe, nor led elsewhere by a link, put in its place.
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return {};
        return {{}, errno == ELOOP ? "not a plain file" : std::strerror(errno)};
    }
    struct stat st;
    Reading reading;
    std::string bytes(MaxBytes + 1, '\0');
    std::size_t done = 0;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        reading.problem = "not a plain file";
    } else {
        for (ssize_t n; done < bytes.size() &&
                        (n = ::read(fd, bytes.data() + done, bytes.size() - done)) != 0;) {
            if (n < 0) {
                reading.problem = std::strerror(errno);
                break;
            }
            done += std::size_t(n);
        }
    }
    close(fd);
    if (!reading.problem.empty())
        return reading;
    if (done > MaxBytes)
        return {{}, "too large"};
    bytes.resize(done);
    if (const std::optional<PlayerSettings> settings = PlayerSettings::parse(bytes))
        reading.settings = *settings;
    else
        reading.problem = "damaged";
    return reading;
}

SaveResult PlayerSettingsFile::write(const std::string& movieKey,
                                     const PlayerSettings& settings) const {
    if (settings.isDefault())
        return store_.removeGameFile(movieKey, Name);
    return store_.putGameFile(movieKey, Name, settings.text());
}
