#pragma once

// What a change to a game's saves came to: done, or why not.
enum class SaveResult {
    Done,
    NotTheGames,  // not a save this game may write, or a name no file can hold
    TooLarge,     // larger than a save may be
    TooMany,      // its folder holds as many saves as it may
    TargetExists, // saves are filed under the new name already
    NoSpace,      // the disk is full
    Failed,       // anything else the system refused
};
