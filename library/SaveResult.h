#pragma once

// What a change to a game's saves came to: done, or why not.
enum class SaveResult {
    Done,
    NotTheGames,  // not a save this game may write, or a name the store does not keep
    TooLarge,     // larger than a save may be
    OverBudget,   // past the game's budget
    StoreFull,    // past the budget of all saves together
    TargetExists, // saves are filed under the new name already
    NoSpace,      // the disk is full
    Failed,       // anything else the system refused
};
