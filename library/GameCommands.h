#pragma once

#include "library/CommandResult.h"
#include "library/GameFile.h"

#include <string>

// The file work of the game commands, Add, Delete, Modify and Move, as the
// disk sees it; the window decides what the user sees of it. None of them
// ever replaces or half-writes a game file, an entry that names no file of
// its own folder ("../../x") reaches no file at all, and a game in a
// subfolder of its category is reached through plain folders alone.
class GameCommands {
public:
    // Add: the file at source copied as game, whatever its extension.
    static CommandResult add(const std::string& source, const GameFile& game);
    // Whether Add would take source as game now: a game file whose name the
    // folder lacks. Asked while a drag passes, so it says nothing of why not.
    static bool canAdd(const std::string& source, const GameFile& game);
    // Delete: the game's file, for good.
    static CommandResult remove(const GameFile& game);
    // Modify: the game's file renamed in its own folder to newName (renamed()).
    // The name as it was is taken by the game itself, so nothing changes.
    static CommandResult rename(const GameFile& game, const GameFile& newName);
    // Move: the game's file into another category's folder under its name
    // (movedTo()), from whatever subfolder of its own it lies in.
    static CommandResult move(const GameFile& game, const GameFile& target);

private:
    static CommandResult relocate(const char* command, const GameFile& from, const GameFile& to);
};
