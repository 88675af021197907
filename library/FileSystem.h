#pragma once

#include "library/DirEntry.h"
#include "library/FileResult.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

// The library's view of the disk: folders listed in sorted order with an
// attribute word, and names that resolve without regard to letter case, so that
// a game listed in lower case can still be found under its stored name.
class FileSystem {
public:
    enum class Links { Follow, DoNotFollow };
    // With FoldersOnly, only folders get their full attribute word; a file
    // carries its kind (0 for a plain file, Special otherwise) but not its
    // read-only bit. That spares a look-up per file, which is most of the time
    // of listing a large folder.
    enum class Attributes { All, FoldersOnly };

    // "." and "..", then every entry of folder sorted by its lower-case name.
    // With DoNotFollow a folder that is itself a symbolic link is not opened.
    // Nothing when the folder cannot be opened or read.
    static std::optional<std::vector<DirEntry>> enumerate(const std::string& folder,
                                                          Links links = Links::Follow,
                                                          Attributes attributes = Attributes::All);

    // The path as it exists on disk: each component is taken as written when it
    // exists, otherwise as the first entry of its folder that matches it
    // without regard to case. Components that match nothing stay as written.
    static std::string resolve(const std::string& path);

    // The path under folder that path names as written, "." and ".."
    // taken away; nothing when it leaves the folder. Touches no disk, so a
    // request for anything outside costs nothing.
    static std::optional<std::string> under(const std::string& folder, const std::string& path);

    // Opens for reading the regular file at path (resolved as above) when it
    // lies under folder as written, and its real location, all links
    // followed, lies inside folder too. Below root (a game's category, which
    // may itself be a link), folder is where its names put it: none of them
    // may be a link. What comes back is checked after opening, so no link
    // swapped in between can lead out. -1 when the file is missing, not a
    // plain file, or outside the folder. An empty root is folder itself.
    static int openInside(const std::string& folder, const std::string& path,
                          const std::string& root = {});

    // The library's three changes to a game file. Paths are resolved as
    // above, and a target name is taken when any entry of its folder matches
    // it without regard to case. None of them ever replaces a file. A file's
    // folder is reached from its root (a game's category): the root as
    // resolve() finds it, links and all, and below it each folder by its
    // exact name and never through a link, so that a folder renamed, gone or
    // swapped for a link since the listing fails the change and nothing
    // outside the root is touched. An empty root is the file's own folder.

    // Copies source to target. The copy is made under a temporary name in
    // the target's folder and only linked into place when complete, so the
    // target's name never shows a half-written file; on any failure nothing
    // is left behind.
    static FileResult copyNew(const std::string& source, const std::string& target);
    // What copyNew would find before it copies: Done when source is a plain
    // file (a link is followed) and target's name is free in a folder that
    // exists. The disk may change before a copy, which checks again.
    static FileResult checkCopyNew(const std::string& source, const std::string& target);
    // Renames source to target. A change of letter case alone is a rename. A
    // target on another file system gets a complete copy first; the source
    // goes only once the copy is in place, and the copy goes again if the
    // source cannot be removed.
    static FileResult moveNoReplace(const std::string& source, const std::string& target,
                                    const std::string& sourceRoot = {},
                                    const std::string& targetRoot = {});
    // Deletes one file for good.
    static FileResult remove(const std::string& path, const std::string& root = {});

    // Whether a write may take the place of a file already under its name.
    enum class Replace { Never, Existing };
    // Writes a file whole and for good, at path as written: the content goes
    // to a hidden temporary file in the target's folder and onto the disk,
    // only then under the target's name, and the folder's new entry onto the
    // disk too. The name shows the file before or the complete new one,
    // never half of one, and a failure leaves nothing behind. fill writes the
    // content into the open file and gives 0 or the error. The file gets
    // mode, or without one what any new file gets (0666 less the umask).
    static FileResult writeWhole(const std::string& path, const std::function<int(int fd)>& fill,
                                 Replace replace, std::optional<mode_t> mode = {});
    static FileResult writeWhole(const std::string& path, std::string_view bytes, Replace replace,
                                 std::optional<mode_t> mode = {});

    // Reads a small file the user picked, whole, by its path as written: a
    // link, a pipe, a device or a folder is not one (NotAFile, and nothing
    // waits on a pipe), nor is one of more than maxBytes (TooLarge); one that
    // shrinks or grows while it is read fails.
    static FileResult readSmall(const std::string& path, std::size_t maxBytes, std::string& bytes);

    // What a call that failed with the system's error number came to.
    static FileResult resultOf(int error);

    // Absolute path of the running program.
    static std::string executablePath();

private:
    // copyNew from a file already open for reading.
    static FileResult copyOpen(int in, const std::string& target);
};
