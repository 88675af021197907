#include "library/SaveStore.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view Host = "localhost/";
constexpr std::string_view Suffix = ".sol";
constexpr std::size_t MaxSegmentBytes = 240;

std::vector<std::string> segments(std::string_view path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t end; (end = path.find('/', start)) != std::string_view::npos; start = end + 1)
        parts.emplace_back(path.substr(start, end - start));
    parts.emplace_back(path.substr(start));
    return parts;
}

// A part of a path the store can file: a name of its own, never a way up
// or out, and short enough for any file system.
bool fileable(const std::string& segment) {
    return !segment.empty() && segment[0] != '.' && segment.size() <= MaxSegmentBytes &&
           segment.find('\0') == std::string::npos;
}

// A key's two parts: the path the save belongs to ("" for the whole disk)
// and its name. A name holding "/" begins with "#", and no part of a path
// does (the engine encodes "#" in a URL), so the split is the key's alone.
struct Parts {
    std::string path;
    std::string name;
};

std::string joined(const std::vector<std::string>& parts, std::size_t from, std::size_t to) {
    std::string path;
    for (std::size_t i = from; i < to; ++i)
        path += (i > from ? "/" : "") + parts[i];
    return path;
}

bool split(const std::string& key, Parts& parts) {
    if (!key.starts_with(Host))
        return false;
    const std::string_view rest = std::string_view(key).substr(Host.size());
    if (rest.starts_with('/')) {
        parts = {{}, std::string(rest.substr(1))};
    } else {
        const std::vector<std::string> all = segments(rest);
        std::size_t name = all.size() - 1;
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (all[i].starts_with('#')) {
                name = i;
                break;
            }
        }
        if (name == 0)
            return false;
        parts = {joined(all, 0, name), joined(all, name, all.size())};
    }
    if (parts.name.empty())
        return false;
    for (const std::string& segment : segments(parts.name))
        if (!fileable(segment))
            return false;
    if (!parts.path.empty())
        for (const std::string& segment : segments(parts.path))
            if (!fileable(segment))
                return false;
    return true;
}

// Whether a save filed under that path is one the movie may open: its own,
// or one of a folder above it.
bool covers(const std::string& path, const std::string& moviePath) {
    return path.empty() || moviePath == path ||
           (moviePath.starts_with(path) && moviePath[path.size()] == '/');
}

SaveResult resultOf(int error) {
    return error == ENOSPC || error == EDQUOT || error == EFBIG ? SaveResult::NoSpace
                                                                : SaveResult::Failed;
}

bool makeFolders(const std::string& folder) {
    for (std::size_t at = 1; at != std::string::npos;) {
        at = folder.find('/', at + 1);
        const std::string part = folder.substr(0, at);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    struct stat st;
    return stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isSave(const struct dirent* entry) {
    const std::string_view name = entry->d_name;
    return name[0] != '.' && name.size() > Suffix.size() && name.ends_with(Suffix);
}

std::size_t savesIn(const std::string& folder) {
    std::size_t count = 0;
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir))
            count += isSave(entry);
        closedir(dir);
    }
    return count;
}

bool readWhole(const std::string& file, std::string& bytes) {
    const int fd = open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
              std::size_t(st.st_size) <= SaveStore::MaxSaveBytes;
    if (ok) {
        bytes.resize(std::size_t(st.st_size));
        std::size_t done = 0;
        for (ssize_t n;
             done < bytes.size() && (n = read(fd, bytes.data() + done, bytes.size() - done)) > 0;)
            done += std::size_t(n);
        ok = done == bytes.size();
    }
    close(fd);
    return ok;
}

// Every save under folder, whose keys begin with prefix: the files of the
// folder itself, and of the folders of names holding "/".
void collect(const std::string& folder, const std::string& prefix, bool nested,
             std::vector<SaveStore::Save>& saves) {
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return;
    std::vector<std::string> deeper;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        struct stat st;
        const bool isFolder = entry->d_type == DT_DIR ||
                              (entry->d_type == DT_UNKNOWN &&
                               fstatat(dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                               S_ISDIR(st.st_mode));
        if (isFolder && (name.starts_with('#') || (nested && fileable(name)))) {
            deeper.push_back(name);
        } else if (!isFolder && isSave(entry)) {
            SaveStore::Save save{prefix + name.substr(0, name.size() - Suffix.size()), {}};
            if (readWhole(folder + "/" + name, save.bytes))
                saves.push_back(std::move(save));
        }
    }
    closedir(dir);
    for (const std::string& name : deeper)
        collect(folder + "/" + name, prefix + name + "/", true, saves);
}

} // namespace

std::string SaveStore::userFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/')
        return std::string(data) + "/pelliwick-saves";
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') {
        const passwd* user = getpwuid(getuid());
        home = user ? user->pw_dir : "/";
    }
    return std::string(home) + "/.local/share/pelliwick-saves";
}

std::string SaveStore::movieKey(const std::string& movieUrl) {
    std::string_view path = movieUrl;
    if (path.starts_with("file://"))
        path.remove_prefix(7);
    path = path.substr(0, path.find_first_of("?#"));
    while (path.starts_with('/'))
        path.remove_prefix(1);
    while (path.ends_with('/'))
        path.remove_suffix(1);
    // What the engine's URL parser encodes in a path; an escape already
    // there stays as it is.
    std::string key(Host);
    for (const unsigned char c : path) {
        if (c <= ' ' || c >= 0x7F ||
            std::string_view("\"#<>?`{}").find(char(c)) != std::string_view::npos) {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            key += escaped;
        } else {
            key += c == '\\' ? '/' : char(c);
        }
    }
    return key;
}

std::string SaveStore::fileOf(const std::string& key) const {
    Parts parts;
    if (!split(key, parts))
        return {};
    std::string file = folder_ + "/" + std::string(Host);
    if (!parts.path.empty())
        file += parts.path + "/";
    return file + parts.name + std::string(Suffix);
}

std::vector<SaveStore::Save> SaveStore::visibleTo(const std::string& movieKey) const {
    std::vector<Save> saves;
    if (!movieKey.starts_with(Host))
        return saves;
    const std::string moviePath = movieKey.substr(Host.size());
    const std::string root = folder_ + "/" + std::string(Host);
    collect(root, std::string(Host) + "/", false, saves);
    for (std::size_t end = 0; end != std::string::npos;) {
        end = moviePath.find('/', end + 1);
        const std::string path = moviePath.substr(0, end);
        collect(root + path, std::string(Host) + path + "/", false, saves);
    }
    return saves;
}

SaveResult SaveStore::put(const std::string& movieKey, const std::string& key,
                          const std::string& bytes) const {
    Parts parts;
    if (!movieKey.starts_with(Host) || !split(key, parts) ||
        !covers(parts.path, movieKey.substr(Host.size())))
        return SaveResult::NotTheGames;
    if (bytes.size() > MaxSaveBytes)
        return SaveResult::TooLarge;
    const std::string file = fileOf(key);
    const std::string folder = file.substr(0, file.rfind('/'));
    struct stat st;
    if (lstat(file.c_str(), &st) != 0 && savesIn(folder) >= MaxSavesPerFolder)
        return SaveResult::TooMany;
    if (!makeFolders(folder))
        return resultOf(errno);

    // A whole new file under a name of its own, then put in the old one's
    // place at once.
    std::string temporary = folder + "/.save-XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return resultOf(errno);
    int error = 0;
    for (std::size_t done = 0; done < bytes.size() && error == 0;) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0)
            error = errno;
        else
            done += std::size_t(n);
    }
    if (error == 0 && fsync(fd) != 0)
        error = errno;
    if (close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && rename(temporary.c_str(), file.c_str()) != 0)
        error = errno;
    if (error != 0) {
        unlink(temporary.c_str());
        return resultOf(error);
    }
    // The new name itself lasts only once its folder is on the disk.
    if (const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return SaveResult::Done;
}

SaveResult SaveStore::remove(const std::string& movieKey, const std::string& key) const {
    Parts parts;
    if (!movieKey.starts_with(Host) || !split(key, parts) ||
        !covers(parts.path, movieKey.substr(Host.size())))
        return SaveResult::NotTheGames;
    if (unlink(fileOf(key).c_str()) != 0 && errno != ENOENT)
        return resultOf(errno);
    return SaveResult::Done;
}

SaveResult SaveStore::moveGame(const std::string& fromMovieKey,
                               const std::string& toMovieKey) const {
    Parts from;
    Parts to;
    // A game's own saves are the folder its movie key names.
    if (!split(fromMovieKey + "/x", from) || !split(toMovieKey + "/x", to) || from.path.empty() ||
        to.path.empty())
        return SaveResult::NotTheGames;
    const std::string root = folder_ + "/" + std::string(Host);
    const std::string source = root + from.path;
    const std::string target = root + to.path;
    struct stat st;
    if (lstat(source.c_str(), &st) != 0)
        return errno == ENOENT ? SaveResult::Done : resultOf(errno);
    if (!makeFolders(target.substr(0, target.rfind('/'))))
        return resultOf(errno);
    if (renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) != 0)
        return errno == EEXIST || errno == ENOTEMPTY ? SaveResult::TargetExists : resultOf(errno);
    return SaveResult::Done;
}
