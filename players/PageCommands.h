#pragma once

#include <QJsonObject>
#include <QString>

class GameFile;
class PlayerSettings;

// What the program tells the player's page, built here alone: each command
// is one object of data, handed to the page's one entry, pelliwick.take().
// Here the game's bytes become the page's text, and nowhere else.
class PageCommands {
public:
    // Plays the game with the player's settings kept for it; its saves are
    // asked for with the word given for them.
    static QString play(const GameFile& game, const QString& savesWord,
                        const PlayerSettings& settings);
    // Lets the game go, its saves written.
    static QString unload();
    // Sends every save the game has written to the program now.
    static QString flush();
    // The keyboard into the game.
    static QString focus();
    // The player's own word in the player area, until the next game.
    static QString say(const QString& text);

private:
    static QString take(const QJsonObject& command);
};
