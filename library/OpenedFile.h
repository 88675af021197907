#pragma once

#include "library/GameEntry.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// A file the program is asked to open as it starts, named by a file manager
// or a shell: by its bytes, whatever they are, and against the current
// folder when relative. Whether it can be opened as a game at all, and which
// entry of which category's list stands for it. A link is opened as the file
// it leads to; a file the listing does not reach (one in a hidden or
// read-only subfolder, or under no category) has no entry.
class OpenedFile {
public:
    enum class Fault {
        None,     // a file whose name ends in ".swf", in any letter case
        Missing,  // nothing there, or a link that leads nowhere
        NotAFile, // a folder, a pipe or a device
        NotAGame, // a file whose name does not end in ".swf"
    };
    // The category, as its place among CategoryTable's captions, and the
    // entry its list holds for the file.
    struct Listed {
        std::size_t category;
        GameEntry entry;

        bool operator==(const Listed&) const = default;
    };

    explicit OpenedFile(std::string_view path);

    // The path as given, behind the current folder's when relative; nothing
    // in it is taken away or spelled otherwise.
    const std::string& path() const { return path_; }
    Fault fault() const { return fault_; }

    // Where the category folders beside the program (programFolder ends in
    // "/") list the file: the first category, in the selector's order, whose
    // folder (found as the listing finds it, through a link or in another
    // letter case) holds the file itself at any depth, through folders the
    // listing enters. Nothing for a file with a fault.
    std::optional<Listed> listedIn(const std::string& programFolder) const;

private:
    std::string path_;
    Fault fault_ = Fault::None;
};
