#pragma once

// What a file command of the library came to: done, or why not.
enum class FileResult {
    Done,
    SourceMissing, // nothing of that name to copy, move or delete
    TargetExists,  // the new name is taken (whatever its letter case)
    FolderMissing, // the folder to put it in is not there
    NotAFile,      // a folder or another special file, not a game file
    NotPermitted,  // no right to change the folder, or a read-only disk
    NoSpace,       // the disk is full
    TooLarge,      // larger than the program takes of such a file
    Failed,        // anything else the system refused
};

// The result's name, as logs and messages give the reason.
const char* nameOf(FileResult result);
