#pragma once

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

using Snapshot = std::map<std::string, std::string>;

// Every file under folder (hidden ones too) with its content, and every
// folder and link by name: what a test compares before and after a command.
inline Snapshot snapshot(const std::string& folder) {
    namespace fs = std::filesystem;
    Snapshot files;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(folder, error);
         it != fs::recursive_directory_iterator(); it.increment(error)) {
        const std::string relative = fs::relative(it->path(), folder).string();
        if (!it->is_regular_file()) {
            files[relative] = "<folder or link>";
            continue;
        }
        std::string content;
        if (std::FILE* file = std::fopen(it->path().c_str(), "rb")) {
            char buffer[4096];
            for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
                content.append(buffer, n);
            std::fclose(file);
        }
        files[relative] = content;
    }
    return files;
}
