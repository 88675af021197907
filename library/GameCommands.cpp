#include "library/GameCommands.h"

#include "library/FileSystem.h"

namespace {

CommandResult outcome(FileResult result, const std::string& what) {
    if (result == FileResult::Done)
        return {};
    return {result, what + ": " + nameOf(result)};
}

// An entry like "../../x" would take the command out of the category folder.
CommandResult notPlain(const std::string& what, const GameFile& game) {
    return {FileResult::NotAFile, what + ": \"" + game.entry() + "\" names no file of its folder"};
}

} // namespace

CommandResult GameCommands::add(const std::string& source, const GameFile& game) {
    return outcome(FileSystem::copyNew(source, game.path()),
                   "add " + source + " as " + game.path());
}

bool GameCommands::canAdd(const std::string& source, const GameFile& game) {
    return game.hasGameExtension() &&
           FileSystem::checkCopyNew(source, game.path()) == FileResult::Done;
}

CommandResult GameCommands::remove(const GameFile& game) {
    const std::string what = "delete " + game.path();
    if (!game.isPlain())
        return notPlain(what, game);
    return outcome(FileSystem::remove(game.path(), game.category()), what);
}

CommandResult GameCommands::rename(const GameFile& game, const GameFile& newName) {
    return relocate("rename", game, newName);
}

CommandResult GameCommands::move(const GameFile& game, const GameFile& target) {
    return relocate("move", game, target);
}

CommandResult GameCommands::relocate(const char* command, const GameFile& from,
                                     const GameFile& to) {
    const std::string what = std::string(command) + " " + from.path() + " to " + to.path();
    if (!from.isPlain())
        return notPlain(what, from);
    if (!to.isPlain())
        return notPlain(what, to);
    return outcome(
        FileSystem::moveNoReplace(from.path(), to.path(), from.category(), to.category()), what);
}
