#include "library/GameFile.h"

#include "library/CaseFolding.h"
#include "library/FileNameText.h"

#include <cstdio>
#include <string_view>

std::string GameFile::path(const std::string& folder, const std::string& entry) {
    return folder + "/" + entry + ".swf";
}

bool GameFile::isPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string("/\0", 2)) == std::string::npos;
}

bool GameFile::hasGameExtension(const std::string& name) {
    return name.size() > 4 && CaseFolding::lower(name.substr(name.size() - 4)) == ".swf";
}

std::string GameFile::movieUrl(const std::string& path) {
    if (path.find_first_of("#?%") == std::string::npos && path.find("/.") == std::string::npos &&
        FileNameText::isUtf8(path))
        return "file://" + path;
    std::string url = "file://";
    for (std::size_t i = 0; i < path.size(); ++i) {
        const unsigned char c = path[i];
        // A part of the path that begins with a dot (~/.local) is taken by
        // the engine for a way up and out, and it then keeps no save.
        const bool dotFirst = c == '.' && (i == 0 || path[i - 1] == '/');
        const bool kept =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            std::string_view("-._~!$&'()*+,;=:@/").find(char(c)) != std::string_view::npos;
        if (kept && !dotFirst) {
            url += char(c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            url += escaped;
        }
    }
    return url;
}
