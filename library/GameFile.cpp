#include "library/GameFile.h"

#include "library/CaseFolding.h"
#include "library/FileNameText.h"
#include "library/SaveStore.h"

#include <cstdio>

namespace {

constexpr std::string_view FileScheme = "file://";

// The path as a URL's path: as it is when nothing in it would be misread,
// percent-encoded otherwise.
std::string urlPath(const std::string& path) {
    if (path.find_first_of("#?%") == std::string::npos && path.find("/.") == std::string::npos &&
        FileNameText::isUtf8(path))
        return path;
    std::string encoded;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const unsigned char c = path[i];
        // A part of the path that begins with a dot (~/.local) is taken by
        // the engine for a way up and out, and it then keeps no save.
        const bool dotFirst = c == '.' && (i == 0 || path[i - 1] == '/');
        const bool kept =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            std::string_view("-._~!$&'()*+,;=:@/").find(char(c)) != std::string_view::npos;
        if (kept && !dotFirst) {
            encoded += char(c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            encoded += escaped;
        }
    }
    return encoded;
}

} // namespace

GameFile GameFile::ofEntry(std::string category, const GameEntry& entry) {
    std::string folder = entry.folder.empty() ? category : category + "/" + entry.folder;
    return GameFile(std::move(category), std::move(folder), entry.name + ".swf");
}

GameFile GameFile::renamed(std::string_view entry) const {
    return GameFile(category_, folder_, std::string(entry) + ".swf");
}

GameFile GameFile::ofPath(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos)
        return GameFile({}, std::string(path));
    return GameFile(std::string(path.substr(0, slash)), std::string(path.substr(slash + 1)));
}

std::optional<GameFile> GameFile::ofMovieUrl(std::string_view url) {
    if (!url.starts_with(FileScheme) || !url.substr(FileScheme.size()).starts_with('/'))
        return std::nullopt;
    return ofPath(url.substr(FileScheme.size()));
}

std::string GameFile::entry() const {
    return fileName_.substr(0, fileName_.size() - std::min<std::size_t>(4, fileName_.size()));
}

GameEntry GameFile::listEntry() const {
    return {entry(), folder_.size() > category_.size() ? folder_.substr(category_.size() + 1)
                                                       : std::string()};
}

std::u16string GameFile::shownName() const {
    return FileNameText::readable(entry());
}

bool GameFile::isPlain() const {
    const std::string name = entry();
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string("/\0", 2)) == std::string::npos;
}

bool GameFile::hasGameExtension() const {
    return fileName_.size() > 4 &&
           CaseFolding::lower(fileName_.substr(fileName_.size() - 4)) == ".swf";
}

std::string GameFile::movieUrl() const {
    return std::string(FileScheme) + path();
}

std::string GameFile::pageUrl() const {
    return std::string(FileScheme) + urlPath(listedPath());
}

std::string GameFile::pageFolderUrl() const {
    return std::string(FileScheme) + urlPath(folder_ + "/");
}

std::string GameFile::savesKey() const {
    return SaveStore::movieKey(urlPath(listedPath()));
}

std::string GameFile::listedPath() const {
    return folder_ + "/" + CaseFolding::lower(entry()) + ".swf";
}
