#include "library/FileSystem.h"

#include "library/CaseFolding.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

bool isDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

bool exists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

// Read-only means the user may not write it, judged by the permission bits that
// apply to the user rather than by access(): the superuser may write anything,
// yet a folder marked read-only must stay read-only for the listing.
bool writable(const struct stat& st) {
    if (st.st_uid == geteuid())
        return st.st_mode & S_IWUSR;
    if (st.st_gid == getegid())
        return st.st_mode & S_IWGRP;
    return st.st_mode & S_IWOTH;
}

unsigned attributesOf(int folderFd, const char* name) {
    unsigned attributes = name[0] == '.' ? DirEntry::Hidden : 0;
    struct stat st;
    if (fstatat(folderFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return attributes | DirEntry::Special;
    if (!writable(st))
        attributes |= DirEntry::ReadOnly;
    if (S_ISDIR(st.st_mode))
        return attributes | DirEntry::Directory;
    if (S_ISREG(st.st_mode))
        return attributes;
    attributes |= DirEntry::Special;
    if (S_ISLNK(st.st_mode) && fstatat(folderFd, name, &st, 0) == 0 && S_ISDIR(st.st_mode))
        attributes |= DirEntry::Directory;
    return attributes;
}

// The folder part and the name part of a path.
std::pair<std::string, std::string> split(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

bool isFolder(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Renames without ever replacing; where the file system knows no such
// rename, a new link and the removal of the old one do the same. Names are
// taken in the folders held open as fromFolder and toFolder (AT_FDCWD for
// paths).
int renameNoReplace(int fromFolder, const std::string& from, int toFolder, const std::string& to) {
    if (renameat2(fromFolder, from.c_str(), toFolder, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return -1;
    if (linkat(fromFolder, from.c_str(), toFolder, to.c_str(), 0) != 0)
        return -1;
    if (unlinkat(fromFolder, from.c_str(), 0) != 0) {
        const int error = errno;
        unlinkat(toFolder, to.c_str(), 0);
        errno = error;
        return -1;
    }
    return 0;
}

// Writes everything from in to out; 0 or the error.
int copyContents(int in, int out, off_t size) {
    off_t offset = 0;
    while (offset < size) {
        const ssize_t sent = sendfile(out, in, &offset, static_cast<size_t>(size - offset));
        if (sent < 0)
            return errno;
        if (sent == 0) // the source shrank under us
            return EIO;
    }
    return 0;
}

// Writes all of bytes to out; 0 or the error.
int writeAll(int out, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(out, bytes.data(), bytes.size());
        if (written < 0 && errno != EINTR)
            return errno;
        if (written > 0)
            bytes.remove_prefix(static_cast<size_t>(written));
    }
    return 0;
}

// A new file under a hidden name of its own in folder, which no listing
// shows as a game or a save; -1 and errno when none can be made. Made with
// 0666, so that the umask has its say as for any new file.
int createTemporary(const std::string& folder, std::string& temporary) {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = folder + "/.pelliwick-" + std::to_string(random());
        const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// A new name lasts a crash only once its folder is on the disk. By then the
// file stands complete under its name, so a folder that cannot be synced
// takes nothing back.
void syncFolder(const std::string& folder) {
    if (const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

// Whether a new file may take target's name, which no entry of its folder
// has in any letter case: Done and the path to write, in the folder as it
// is spelled on disk, or why not.
std::pair<FileResult, std::string> freeName(const std::string& target) {
    auto [folder, name] = split(target);
    folder = FileSystem::resolve(folder);
    if (!isFolder(folder))
        return {FileResult::FolderMissing, {}};
    if (name.empty())
        return {FileResult::Failed, {}};
    std::string to = folder + "/" + name;
    if (exists(FileSystem::resolve(to)))
        return {FileResult::TargetExists, {}};
    return {FileResult::Done, std::move(to)};
}

// Every entry of the folder open as fd (which it takes), sorted by lower-case
// name, without "." and "..". Nothing when it cannot be read.
std::optional<std::vector<DirEntry>> entriesOf(int fd, FileSystem::Attributes wanted) {
    DIR* dir = fdopendir(fd);
    if (!dir) {
        close(fd);
        return std::nullopt;
    }
    std::vector<DirEntry> entries;
    while (const dirent* d = readdir(dir)) {
        if (isDotOrDotDot(d->d_name))
            continue;
        unsigned attributes = 0;
        if (wanted == FileSystem::Attributes::All || d->d_type == DT_DIR || d->d_type == DT_UNKNOWN)
            attributes = attributesOf(fd, d->d_name);
        else if (d->d_type != DT_REG)
            attributes = DirEntry::Special;
        else if (d->d_name[0] == '.')
            attributes = DirEntry::Hidden;
        entries.push_back({d->d_name, CaseFolding::lower(d->d_name), attributes});
    }
    closedir(dir);
    // Equal lower-case names (Game.swf beside game.swf) keep a fixed order.
    std::sort(entries.begin(), entries.end(), [](const DirEntry& a, const DirEntry& b) {
        const int byLower = a.lowerName.compare(b.lowerName);
        return byLower != 0 ? byLower < 0 : a.name < b.name;
    });
    return entries;
}

// A folder held open, so that what is done in it is done there, whatever is
// renamed or swapped for a link on the way to it meanwhile.
class HeldFolder {
public:
    // The folder, reached from root: root as the disk spells it, in any
    // letter case and through links (a category folder may be a link to
    // another disk); below root, each folder by its exact name and never
    // through a link. An empty root is the folder itself. Not held (errno
    // set) when a part is missing, not a folder or a link, or when the folder
    // does not lie below root.
    HeldFolder(const std::string& folder, const std::string& root) {
        const std::string& top = root.empty() ? folder : root;
        if (folder != top && !(folder.starts_with(top) && folder[top.size()] == '/')) {
            errno = EINVAL;
            return;
        }
        path_ = FileSystem::resolve(top);
        fd_ = open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        for (size_t start = top.size() + 1; fd_ >= 0 && start <= folder.size();) {
            size_t end = folder.find('/', start);
            if (end == std::string::npos)
                end = folder.size();
            const std::string part = folder.substr(start, end - start);
            start = end + 1;
            if (part.empty() || part == "." || part == "..") {
                close(std::exchange(fd_, -1));
                errno = ENOENT;
                break;
            }
            const int next =
                openat(fd_, part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            const int error = errno;
            close(fd_);
            fd_ = next;
            errno = error;
            path_ += "/" + part;
        }
    }
    HeldFolder(const HeldFolder&) = delete;
    HeldFolder& operator=(const HeldFolder&) = delete;
    ~HeldFolder() {
        if (fd_ >= 0)
            close(fd_);
    }

    explicit operator bool() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    // Where it was when opened, for what only a path can do.
    const std::string& path() const { return path_; }

    // The entry that name stands for: itself when it exists, otherwise the
    // first entry that matches it without regard to case; name when none does.
    std::string find(const std::string& name) const {
        struct stat st;
        if (fstatat(fd_, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
            return name;
        const std::string wanted = CaseFolding::lower(name);
        // Names are all it compares: no file is looked up.
        if (const auto entries = entriesOf(openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC),
                                           FileSystem::Attributes::FoldersOnly))
            for (const DirEntry& entry : *entries)
                if (entry.lowerName == wanted)
                    return entry.name;
        return name;
    }
    // The entry's status, not following a link; errno when there is none.
    std::optional<struct stat> status(const std::string& name) const {
        struct stat st;
        if (fstatat(fd_, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            return std::nullopt;
        return st;
    }
    bool isSameFolder(const HeldFolder& other) const {
        struct stat mine, theirs;
        return fstat(fd_, &mine) == 0 && fstat(other.fd_, &theirs) == 0 &&
               mine.st_dev == theirs.st_dev && mine.st_ino == theirs.st_ino;
    }

private:
    int fd_ = -1;
    std::string path_;
};

} // namespace

std::optional<std::vector<DirEntry>> FileSystem::enumerate(const std::string& folder, Links links,
                                                           Attributes wanted) {
    const int flags =
        O_RDONLY | O_DIRECTORY | O_CLOEXEC | (links == Links::DoNotFollow ? O_NOFOLLOW : 0);
    const int fd = open(folder.c_str(), flags);
    if (fd < 0)
        return std::nullopt;
    std::optional<std::vector<DirEntry>> entries = entriesOf(fd, wanted);
    if (entries)
        entries->insert(entries->begin(), {DirEntry{".", ".", DirEntry::Directory},
                                           DirEntry{"..", "..", DirEntry::Directory}});
    return entries;
}

std::string FileSystem::resolve(const std::string& path) {
    if (path.empty() || exists(path))
        return path;
    std::string resolved;
    size_t start = 0;
    if (path[0] == '/') {
        resolved = "/";
        start = 1;
    }
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string component = path.substr(start, end - start);
        start = end + 1;
        if (component.empty())
            continue;
        const std::string folder = resolved.empty() ? "." : resolved;
        if (!resolved.empty() && resolved.back() != '/')
            resolved += '/';
        if (exists(resolved + component)) {
            resolved += component;
            continue;
        }
        const std::string wanted = CaseFolding::lower(component);
        std::string match = component;
        // Names are all it compares: no file is looked up.
        if (const auto entries = enumerate(folder, Links::Follow, Attributes::FoldersOnly)) {
            const auto found =
                std::find_if(entries->begin(), entries->end(),
                             [&](const DirEntry& e) { return e.lowerName == wanted; });
            if (found != entries->end())
                match = found->name;
        }
        resolved += match;
    }
    return resolved;
}

std::optional<std::string> FileSystem::under(const std::string& folder, const std::string& path) {
    if (folder.empty() || !path.starts_with(folder) ||
        (path.size() > folder.size() && path[folder.size()] != '/' && folder.back() != '/'))
        return std::nullopt;
    std::vector<std::string> kept;
    size_t start = folder.size();
    while (start < path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string component = path.substr(start, end - start);
        start = end + 1;
        if (component.empty() || component == ".")
            continue;
        if (component != "..")
            kept.push_back(component);
        else if (kept.empty())
            return std::nullopt;
        else
            kept.pop_back();
    }
    std::string result = folder;
    for (const std::string& component : kept) {
        if (result.back() != '/')
            result += '/';
        result += component;
    }
    return result;
}

int FileSystem::openInside(const std::string& folder, const std::string& path,
                           const std::string& root) {
    const auto named = under(folder, path);
    const std::string& top = root.empty() ? folder : root;
    if (!named || (folder != top && !(folder.starts_with(top) && folder[top.size()] == '/')))
        return -1;
    char* realTop = realpath(resolve(top).c_str(), nullptr);
    if (!realTop)
        return -1;
    // Below the root, the folder is where its names as written put it: a
    // folder swapped for a link, even one pointing inside, is not it.
    std::string inside = realTop + folder.substr(top.size());
    free(realTop);
    if (inside.back() != '/')
        inside += '/';
    // Non-blocking, so that a named pipe cannot hold the program up.
    const int fd = open(resolve(*named).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return -1;
    struct stat st;
    std::string opened(4096, '\0');
    const ssize_t length =
        readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), opened.data(), opened.size());
    opened.resize(length > 0 ? static_cast<size_t>(length) : 0);
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || !opened.starts_with(inside)) {
        close(fd);
        return -1;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

FileResult FileSystem::checkCopyNew(const std::string& source, const std::string& target) {
    struct stat st;
    if (stat(resolve(source).c_str(), &st) != 0)
        return resultOf(errno);
    if (!S_ISREG(st.st_mode))
        return FileResult::NotAFile;
    return freeName(target).first;
}

FileResult FileSystem::copyNew(const std::string& source, const std::string& target) {
    const int in = open(resolve(source).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (in < 0)
        return resultOf(errno);
    const FileResult result = copyOpen(in, target);
    close(in);
    return result;
}

FileResult FileSystem::copyOpen(int in, const std::string& target) {
    struct stat st;
    if (fstat(in, &st) != 0 || !S_ISREG(st.st_mode))
        return FileResult::NotAFile;
    fcntl(in, F_SETFL, fcntl(in, F_GETFL) & ~O_NONBLOCK);
    const auto [free, to] = freeName(target);
    if (free != FileResult::Done)
        return free;
    return writeWhole(
        to, [&](int out) { return copyContents(in, out, st.st_size); }, Replace::Never,
        st.st_mode & 07777);
}

FileResult FileSystem::moveNoReplace(const std::string& source, const std::string& target,
                                     const std::string& sourceRoot, const std::string& targetRoot) {
    const auto [sourceFolder, sourceName] = split(source);
    const HeldFolder fromFolder(sourceFolder, sourceRoot);
    if (!fromFolder)
        return resultOf(errno);
    const std::string from = fromFolder.find(sourceName);
    const std::optional<struct stat> st = fromFolder.status(from);
    if (!st)
        return resultOf(errno);
    if (S_ISDIR(st->st_mode))
        return FileResult::NotAFile;

    const auto [targetFolder, to] = split(target);
    const HeldFolder toFolder(targetFolder, targetRoot);
    if (!toFolder)
        return FileResult::FolderMissing;
    if (to.empty())
        return FileResult::Failed;
    // The only entry that may match the new name is the file itself, when
    // its letter case changes.
    const std::string taken = toFolder.find(to);
    const bool isSource = taken == from && toFolder.isSameFolder(fromFolder);
    if (toFolder.status(taken) && (!isSource || to == from))
        return FileResult::TargetExists;

    if (renameNoReplace(fromFolder.fd(), from, toFolder.fd(), to) == 0)
        return FileResult::Done;
    if (errno != EXDEV)
        return resultOf(errno);
    // Another file system: a complete copy first, and the source goes only
    // when the copy is in place; if it cannot go, neither does the copy.
    const int in = openat(fromFolder.fd(), from.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (in < 0)
        return resultOf(errno);
    const FileResult copied = copyOpen(in, toFolder.path() + "/" + to);
    close(in);
    if (copied != FileResult::Done)
        return copied;
    if (unlinkat(fromFolder.fd(), from.c_str(), 0) != 0) {
        const int error = errno;
        unlinkat(toFolder.fd(), to.c_str(), 0);
        return resultOf(error);
    }
    return FileResult::Done;
}

FileResult FileSystem::remove(const std::string& path, const std::string& root) {
    const auto [folderPath, name] = split(path);
    const HeldFolder folder(folderPath, root);
    if (!folder)
        return resultOf(errno);
    const std::string file = folder.find(name);
    const std::optional<struct stat> st = folder.status(file);
    if (!st)
        return resultOf(errno);
    if (S_ISDIR(st->st_mode))
        return FileResult::NotAFile;
    return unlinkat(folder.fd(), file.c_str(), 0) == 0 ? FileResult::Done : resultOf(errno);
}

FileResult FileSystem::writeWhole(const std::string& path, const std::function<int(int fd)>& fill,
                                  Replace replace, std::optional<mode_t> mode) {
    const std::string folder = split(path).first;
    std::string temporary;
    const int out = createTemporary(folder, temporary);
    if (out < 0)
        return errno == ENOENT || errno == ENOTDIR ? FileResult::FolderMissing : resultOf(errno);
    int error = fill(out);
    if (error == 0 && mode && fchmod(out, *mode) != 0)
        error = errno;
    if (error == 0 && fsync(out) != 0)
        error = errno;
    if (close(out) != 0 && error == 0)
        error = errno;
    if (error == 0 &&
        (replace == Replace::Never ? renameNoReplace(AT_FDCWD, temporary, AT_FDCWD, path)
                                   : rename(temporary.c_str(), path.c_str())) != 0)
        error = errno;
    if (error != 0) {
        unlink(temporary.c_str());
        return resultOf(error);
    }
    syncFolder(folder);
    return FileResult::Done;
}

FileResult FileSystem::writeWhole(const std::string& path, std::string_view bytes, Replace replace,
                                  std::optional<mode_t> mode) {
    return writeWhole(
        path, [bytes](int out) { return writeAll(out, bytes); }, replace, mode);
}

FileResult FileSystem::readSmall(const std::string& path, std::size_t maxBytes,
                                 std::string& bytes) {
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ELOOP ? FileResult::NotAFile : resultOf(errno);
    struct stat st;
    FileResult result = FileResult::Done;
    if (fstat(fd, &st) != 0)
        result = resultOf(errno);
    else if (!S_ISREG(st.st_mode))
        result = FileResult::NotAFile;
    else if (std::uint64_t(st.st_size) > maxBytes)
        result = FileResult::TooLarge;
    if (result == FileResult::Done) {
        // One byte more than it had, to see it has no more.
        bytes.assign(std::size_t(st.st_size) + 1, '\0');
        std::size_t done = 0;
        for (ssize_t n; done < bytes.size() &&
                        (n = read(fd, bytes.data() + done, bytes.size() - done)) != 0;) {
            if (n < 0 && errno != EINTR) {
                result = resultOf(errno);
                break;
            }
            done += n > 0 ? std::size_t(n) : 0;
        }
        if (result == FileResult::Done && done != std::size_t(st.st_size))
            result = FileResult::Failed;
        bytes.resize(result == FileResult::Done ? done : 0);
    }
    close(fd);
    return result;
}

FileResult FileSystem::resultOf(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return FileResult::SourceMissing;
    case EEXIST:
    case ENOTEMPTY:
        return FileResult::TargetExists;
    case EISDIR:
        return FileResult::NotAFile;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return FileResult::NotPermitted;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return FileResult::NoSpace;
    default:
        return FileResult::Failed;
    }
}

std::string FileSystem::executablePath() {
    std::string path(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    path.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return path;
}
