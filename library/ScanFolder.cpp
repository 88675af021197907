#include "library/ScanFolder.h"

#include "library/FileSystem.h"

#include <string_view>

namespace {

bool isGameFile(std::string_view lowerName) {
    if (lowerName.size() < 4)
        return false;
    const std::string_view extension = lowerName.substr(lowerName.size() - 4);
    return extension == ".swf" || extension == ".jpg";
}

// relative: the folder within the category, as its entries stand for it.
void scanDirectory(const std::string& folder, const std::string& relative, GameEntries& entries,
                   FileSystem::Links links) {
    // Only a folder's attributes decide anything here.
    const auto listing = FileSystem::enumerate(folder, links, FileSystem::Attributes::FoldersOnly);
    if (!listing)
        return;
    for (const DirEntry& entry : *listing) {
        if (entry.lowerName == "." || entry.lowerName == "..")
            continue;
        // Only a plain folder is entered: one that is hidden, read-only or a
        // link is passed to the name test like a file. This is also what keeps
        // a link that points back up the tree from being followed for ever.
        if (entry.attributes == DirEntry::Directory) {
            // Entered by its stored name, which is the folder the lower-case
            // name stands for; the O_NOFOLLOW open guards against the folder
            // being swapped for a link in between.
            scanDirectory(folder + "/" + entry.name,
                          relative.empty() ? entry.name : relative + "/" + entry.name, entries,
                          FileSystem::Links::DoNotFollow);
            continue;
        }
        if (isGameFile(entry.lowerName))
            entries.push_back(entry.lowerName.substr(0, entry.lowerName.size() - 4), relative);
    }
}

} // namespace

void ScanFolder(const std::string& folder, GameEntries& entries) {
    // A category folder may be a link to a folder on another disk, and may be
    // spelled on disk in another case than the category's name.
    scanDirectory(FileSystem::resolve(folder), {}, entries, FileSystem::Links::Follow);
}
