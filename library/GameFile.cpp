#include "GameFile.h"

std::string GameFile::path(const std::string& folder, const std::string& entry) {
    return folder + "/" + entry + ".swf";
}

bool GameFile::isPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string("/\0", 2)) == std::string::npos;
}
