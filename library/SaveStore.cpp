#include "library/SaveStore.h"

#include "library/FileNameText.h"
#include "library/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::string_view Host = "localhost/";
constexpr std::string_view Suffix = ".sol";
// No path a game plays from is nearly this deep; a deeper chain of folders
// in the store was made by hand, and is left uncounted.
constexpr std::size_t MaxStoreDepth = 64;

std::vector<std::string> segments(std::string_view path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t end; (end = path.find('/', start)) != std::string_view::npos; start = end + 1)
        parts.emplace_back(path.substr(start, end - start));
    parts.emplace_back(path.substr(start));
    return parts;
}

// A part of a path the store can file: a name of its own, never a way up
// or out, nothing a file name cannot hold or a listing would garble, and
// short enough for any file system.
bool fileable(const std::string& segment) {
    return !segment.empty() && segment[0] != '.' && segment.size() <= SaveStore::MaxSegmentBytes &&
           FileNameText::isUtf8(segment) &&
           std::none_of(segment.begin(), segment.end(), [](const char c) {
               return (unsigned char)c < 0x20 || c == 0x7F || c == '\\';
           });
}

bool allFileable(const std::string& path) {
    const std::vector<std::string> parts = segments(path);
    return std::all_of(parts.begin(), parts.end(), fileable);
}

std::string joined(const std::vector<std::string>& parts, std::size_t from, std::size_t to) {
    std::string path;
    for (std::size_t i = from; i < to; ++i)
        path += (i > from ? "/" : "") + parts[i];
    return path;
}

// Whether a save on that shelf is one the movie may open: its own, or one
// of a folder above it.
bool covers(const std::string& shelf, const std::string& moviePath) {
    return shelf.empty() || moviePath == shelf ||
           (moviePath.starts_with(shelf) && moviePath[shelf.size()] == '/');
}

// What the file layer's result comes to for a save: a full disk is told
// apart, as the game may hear of it; the rest is a failure.
SaveResult resultOf(FileResult result) {
    switch (result) {
    case FileResult::Done:
        return SaveResult::Done;
    case FileResult::NoSpace:
        return SaveResult::NoSpace;
    default:
        return SaveResult::Failed;
    }
}

SaveResult resultOf(int error) {
    return resultOf(FileSystem::resultOf(error));
}

bool makeFoldersOf(const std::string& folder) {
    for (std::size_t at = 1; at != std::string::npos;) {
        at = folder.find('/', at + 1);
        const std::string part = folder.substr(0, at);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    struct stat st;
    return stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isSaveName(std::string_view name) {
    return name[0] != '.' && name.size() > Suffix.size() && name.ends_with(Suffix);
}

bool pastCap(const SaveStore::Usage& usage, const SaveStore::Usage& cap) {
    return usage.bytes > cap.bytes || usage.saves > cap.saves || usage.folders > cap.folders;
}

// Adds the saves of the open folder (fd, which it closes) to usage, and the
// folders that enter(name, depth) lets in, with what they hold. False once
// past cap: nothing further is read.
template <typename Enter>
bool tally(int fd, std::size_t depth, const Enter& enter, SaveStore::Usage& usage,
           const SaveStore::Usage& cap) {
    DIR* dir = fdopendir(fd);
    if (!dir) {
        close(fd);
        return true;
    }
    bool within = true;
    for (const dirent* entry; within && (entry = readdir(dir));) {
        const std::string_view name = entry->d_name;
        if (name[0] == '.')
            continue;
        unsigned char type = entry->d_type;
        struct stat st;
        if (type == DT_UNKNOWN || (type == DT_REG && isSaveName(name))) {
            if (fstatat(dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_UNKNOWN;
        }
        if (type == DT_REG && isSaveName(name)) {
            usage.bytes += std::uint64_t(st.st_size);
            ++usage.saves;
        } else if (type == DT_DIR && enter(name, depth)) {
            ++usage.folders;
            const int inner =
                openat(dirfd(dir), entry->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (inner >= 0)
                within = tally(inner, depth + 1, enter, usage, cap);
        }
        within = within && !pastCap(usage, cap);
    }
    closedir(dir);
    return within;
}

template <typename Enter>
SaveStore::Usage count(const std::string& folder, const Enter& enter, const SaveStore::Usage& cap) {
    SaveStore::Usage usage;
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0 && !tally(fd, 0, enter, usage, cap))
        return {SaveStore::Beyond, SaveStore::Beyond, SaveStore::Beyond};
    return usage;
}

// The saves of the open folder (fd, which it closes) with their names as
// filed (prefix and the file's name less ".sol"), and those of its folders
// of names: at the shelf's own level only those that begin with "#", the
// rest being the shelves and games below it.
void listSaves(int fd, const std::string& prefix, std::size_t depth,
               std::vector<std::pair<std::string, struct stat>>& found) {
    DIR* dir = fdopendir(fd);
    if (!dir) {
        close(fd);
        return;
    }
    while (const dirent* entry = readdir(dir)) {
        if (found.size() >= SaveStore::MaxListed)
            break;
        const std::string_view name = entry->d_name;
        struct stat st;
        if (name[0] == '.' || fstatat(dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISREG(st.st_mode) && isSaveName(name)) {
            found.emplace_back(prefix + std::string(name.substr(0, name.size() - Suffix.size())),
                               st);
        } else if (S_ISDIR(st.st_mode) && depth < SaveStore::MaxNameDepth &&
                   (depth > 0 || name.starts_with('#'))) {
            const int inner =
                openat(dirfd(dir), entry->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (inner >= 0)
                listSaves(inner, prefix + std::string(name) + "/", depth + 1, found);
        }
    }
    closedir(dir);
}

} // namespace

std::vector<SaveStore::Listed> SaveStore::savesOf(const std::string& movieKey) const {
    std::vector<Listed> saves;
    if (!placeOf(movieKey + "/x"))
        return saves;
    // Its own shelf, then each folder's above it up to the whole disk's.
    const std::string own = shelfOf(movieKey);
    std::vector<std::string> shelves{own};
    for (std::size_t end = own.size();
         (end = own.rfind('/', end - 1)) != std::string::npos && end > 0;)
        shelves.push_back(own.substr(0, end));
    shelves.emplace_back();
    for (const std::string& shelf : shelves) {
        std::vector<std::pair<std::string, struct stat>> found;
        const int fd =
            open(shelfFolder(shelf).c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd >= 0)
            listSaves(fd, {}, 0, found);
        for (const auto& [filed, st] : found) {
            if (saves.size() >= MaxListed)
                break;
            saves.push_back({std::string(Host) + shelf + "/" + filed,
                             filed.starts_with('#') ? filed.substr(1) : filed,
                             std::uint64_t(st.st_size),
                             std::int64_t(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000,
                             shelf != own});
        }
    }
    std::stable_sort(saves.begin(), saves.end(),
                     [](const Listed& a, const Listed& b) { return a.writtenMs > b.writtenMs; });
    return saves;
}

std::optional<std::string> SaveStore::ownKey(const std::string& movieKey, const std::string& name) {
    // Every part a name of its own: "/x", "a//b" and "a/" are not names
    // the engine gives a save.
    if (name.empty() || name.find('\0') != std::string::npos || name.starts_with('/') ||
        name.ends_with('/') || name.find("//") != std::string::npos)
        return std::nullopt;
    // Nor a way up, which the "#" in front would only disguise.
    for (const std::string& part : segments(name))
        if (part == "." || part == "..")
            return std::nullopt;
    const std::string key =
        movieKey + "/" + (name.find('/') != std::string::npos ? "#" : "") + name;
    const std::optional<Place> place = placeFor(movieKey, key);
    if (!place || place->shelf != shelfOf(movieKey))
        return std::nullopt;
    return key;
}

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

std::string SaveStore::movieKey(std::string_view path) {
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

std::optional<SaveStore::Place> SaveStore::placeOf(const std::string& key) {
    if (!key.starts_with(Host))
        return std::nullopt;
    const std::string_view rest = std::string_view(key).substr(Host.size());
    Place place;
    if (rest.starts_with('/')) {
        place.name = rest.substr(1);
    } else {
        // A name holding "/" begins with "#", and no part of a path does
        // (the engine encodes "#" in a URL), so the split is the key's alone.
        const std::vector<std::string> all = segments(rest);
        std::size_t name = all.size() - 1;
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (all[i].starts_with('#')) {
                name = i;
                break;
            }
        }
        if (name == 0)
            return std::nullopt;
        place = {joined(all, 0, name), joined(all, name, all.size())};
        if (!allFileable(place.shelf))
            return std::nullopt;
    }
    const auto depth = std::size_t(std::count(place.name.begin(), place.name.end(), '/'));
    if ((depth > 0 && !place.name.starts_with('#')) || depth > MaxNameDepth ||
        !allFileable(place.name))
        return std::nullopt;
    return place;
}

std::optional<SaveStore::Place> SaveStore::placeFor(const std::string& movieKey,
                                                    const std::string& key) {
    std::optional<Place> place = placeOf(key);
    if (!place || !movieKey.starts_with(Host) || !covers(place->shelf, shelfOf(movieKey)))
        return std::nullopt;
    return place;
}

std::string SaveStore::shelfOf(const std::string& movieKey) {
    return movieKey.substr(std::min(Host.size(), movieKey.size()));
}

std::string SaveStore::shelfFolder(const std::string& shelf) const {
    return folder_ + "/" + std::string(Host.substr(0, Host.size() - 1)) +
           (shelf.empty() ? "" : "/" + shelf);
}

std::string SaveStore::fileOf(const Place& place) const {
    return shelfFolder(place.shelf) + "/" + place.name + std::string(Suffix);
}

std::optional<std::string> SaveStore::read(const Place& place) const {
    const int fd = open(fileOf(place).c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st;
    std::optional<std::string> bytes;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && std::size_t(st.st_size) <= MaxSaveBytes) {
        bytes.emplace(std::size_t(st.st_size), '\0');
        std::size_t done = 0;
        for (ssize_t n; done < bytes->size() &&
                        (n = ::read(fd, bytes->data() + done, bytes->size() - done)) > 0;)
            done += std::size_t(n);
        if (done != bytes->size())
            bytes.reset();
    }
    close(fd);
    return bytes;
}

std::optional<std::uint64_t> SaveStore::sizeOf(const Place& place) const {
    struct stat st;
    if (lstat(fileOf(place).c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return std::uint64_t(st.st_size);
}

SaveStore::Lacking SaveStore::lacking(const Place& place) const {
    Lacking lacking;
    std::string folder = shelfFolder({});
    const std::vector<std::string> path =
        place.shelf.empty() ? std::vector<std::string>{} : segments(place.shelf);
    std::vector<std::string> names = segments(place.name);
    names.pop_back();
    // Once one folder is missing, so is every folder below it.
    bool missing = false;
    const auto look = [&](std::uint64_t& count) {
        struct stat st;
        missing = missing || lstat(folder.c_str(), &st) != 0;
        count += missing;
    };
    look(lacking.pathFolders);
    for (const std::string& part : path) {
        folder += "/" + part;
        look(lacking.pathFolders);
    }
    for (const std::string& part : names) {
        folder += "/" + part;
        look(lacking.nameFolders);
    }
    return lacking;
}

SaveStore::Usage SaveStore::countShelf(const std::string& shelf) const {
    // A shelf is its folder's saves and its folders of names, which begin
    // with "#"; its other folders are the shelves and games below it.
    return count(
        shelfFolder(shelf),
        [](std::string_view name, std::size_t depth) {
            return depth < MaxNameDepth && (depth > 0 || name.starts_with('#'));
        },
        GameBudget);
}

SaveStore::Usage SaveStore::countAll() const {
    return count(
        folder_, [](std::string_view, std::size_t depth) { return depth < MaxStoreDepth; },
        StoreBudget);
}

SaveResult SaveStore::makeFolders(const Place& place) const {
    const std::string file = fileOf(place);
    return makeFoldersOf(file.substr(0, file.rfind('/'))) ? SaveResult::Done : resultOf(errno);
}

SaveResult SaveStore::put(const Place& place, const std::string& bytes) const {
    if (bytes.size() > MaxSaveBytes)
        return SaveResult::TooLarge;
    const std::string file = fileOf(place);
    const std::string folder = file.substr(0, file.rfind('/'));
    if (!makeFoldersOf(folder))
        return resultOf(errno);

    // Saves are the user's own, as the original player kept them.
    return resultOf(FileSystem::writeWhole(file, bytes, FileSystem::Replace::Existing, 0600));
}

SaveResult SaveStore::remove(const Place& place) const {
    if (unlink(fileOf(place).c_str()) != 0 && errno != ENOENT)
        return resultOf(errno);
    return SaveResult::Done;
}

std::optional<std::string> SaveStore::gameFolder(const std::string& movieKey) const {
    // A game's own saves are the folder its movie key names.
    const std::optional<Place> place = placeOf(movieKey + "/x");
    if (!place || place->shelf.empty())
        return std::nullopt;
    return shelfFolder(place->shelf);
}

SaveResult SaveStore::putGameFile(const std::string& movieKey, std::string_view name,
                                  std::string_view bytes) const {
    const std::optional<std::string> folder = gameFolder(movieKey);
    if (!folder)
        return SaveResult::NotTheGames;
    if (!makeFoldersOf(*folder))
        return resultOf(errno);
    return resultOf(FileSystem::writeWhole(*folder + "/" + std::string(name), bytes,
                                           FileSystem::Replace::Existing, 0600));
}

SaveResult SaveStore::removeGameFile(const std::string& movieKey, std::string_view name) const {
    const std::optional<std::string> folder = gameFolder(movieKey);
    if (!folder)
        return SaveResult::NotTheGames;
    const std::string file = *folder + "/" + std::string(name);
    if (unlink(file.c_str()) != 0 && errno != ENOENT && errno != ENOTDIR)
        return resultOf(errno);
    return SaveResult::Done;
}

SaveResult SaveStore::moveGame(const std::string& fromMovieKey,
                               const std::string& toMovieKey) const {
    const std::optional<std::string> from = gameFolder(fromMovieKey);
    const std::optional<std::string> to = gameFolder(toMovieKey);
    if (!from || !to)
        return SaveResult::NotTheGames;
    const std::string& source = *from;
    const std::string& target = *to;
    struct stat st;
    if (lstat(source.c_str(), &st) != 0)
        return errno == ENOENT ? SaveResult::Done : resultOf(errno);
    if (!makeFoldersOf(target.substr(0, target.rfind('/'))))
        return resultOf(errno);
    if (renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) != 0) {
        const FileResult result = FileSystem::resultOf(errno);
        return result == FileResult::TargetExists ? SaveResult::TargetExists : resultOf(result);
    }
    return SaveResult::Done;
}
