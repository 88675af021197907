#include "library/FileResult.h"

const char* nameOf(FileResult result) {
    switch (result) {
    case FileResult::Done:
        return "Done";
    case FileResult::SourceMissing:
        return "SourceMissing";
    case FileResult::TargetExists:
        return "TargetExists";
    case FileResult::FolderMissing:
        return "FolderMissing";
    case FileResult::NotAFile:
        return "NotAFile";
    case FileResult::NotPermitted:
        return "NotPermitted";
    case FileResult::NoSpace:
        return "NoSpace";
    case FileResult::TooLarge:
        return "TooLarge";
    case FileResult::Failed:
        break;
    }
    return "Failed";
}
