#include "library/OpenedFile.h"

#include "library/CaseFolding.h"
#include "library/CategoryTable.h"
#include "library/FileSystem.h"
#include "library/GameFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The path with every link, "." and ".." taken out; nothing when it cannot
// be reached.
std::optional<std::string> realPath(const std::string& path) {
    char* real = realpath(path.c_str(), nullptr);
    if (!real)
        return std::nullopt;
    std::string result(real);
    free(real);
    return result;
}

std::string currentFolder() {
    std::string folder(4096, '\0');
    while (!getcwd(folder.data(), folder.size())) {
        if (errno != ERANGE)
            return {};
        folder.resize(folder.size() * 2);
    }
    folder.resize(folder.find('\0'));
    return folder;
}

// Whether the listing enters every folder of relative (stored names joined
// by "/") on its way down from category: the listing's own test, a folder
// that is neither hidden, read-only nor a link.
bool entered(const std::string& category, const std::string& relative) {
    std::string folder = category;
    for (std::size_t start = 0; start < relative.size();) {
        std::size_t end = relative.find('/', start);
        if (end == std::string::npos)
            end = relative.size();
        const std::string name = relative.substr(start, end - start);
        start = end + 1;
        const auto listing = FileSystem::enumerate(
            folder, folder == category ? FileSystem::Links::Follow : FileSystem::Links::DoNotFollow,
            FileSystem::Attributes::FoldersOnly);
        if (!listing)
            return false;
        const auto found = std::find_if(listing->begin(), listing->end(),
                                        [&](const DirEntry& entry) { return entry.name == name; });
        if (found == listing->end() || found->attributes != DirEntry::Directory)
            return false;
        folder += "/" + name;
    }
    return true;
}

} // namespace

OpenedFile::OpenedFile(std::string_view path) : path_(path) {
    if (!path_.empty() && path_.front() != '/')
        path_ = currentFolder() + "/" + path_;
    struct stat st;
    if (path_.empty() || stat(path_.c_str(), &st) != 0)
        fault_ = Fault::Missing;
    else if (!S_ISREG(st.st_mode))
        fault_ = Fault::NotAFile;
    else if (!GameFile::ofPath(path_).hasGameExtension())
        fault_ = Fault::NotAGame;
}

std::optional<OpenedFile::Listed> OpenedFile::listedIn(const std::string& programFolder) const {
    if (fault_ != Fault::None)
        return std::nullopt;
    const std::optional<std::string> file = realPath(path_);
    // The file a link leads to is listed by its own name, which the listing
    // lists only as a game.
    if (!file || !GameFile::ofPath(*file).hasGameExtension())
        return std::nullopt;
    const std::size_t slash = file->rfind('/');
    for (std::size_t i = 0; i < CategoryTable::Captions.size(); ++i) {
        const std::optional<std::string> category = realPath(FileSystem::resolve(
            programFolder + CategoryTable::folderName(CategoryTable::Captions[i])));
        if (!category || !file->starts_with(*category + "/"))
            continue;
        const std::size_t top = category->size() + 1;
        const std::string folder = slash > top ? file->substr(top, slash - top) : std::string();
        if (!entered(*category, folder))
            continue;
        const std::string name = CaseFolding::lower(file->substr(slash + 1));
        return Listed{i, {name.substr(0, name.size() - 4), folder}};
    }
    return std::nullopt;
}
