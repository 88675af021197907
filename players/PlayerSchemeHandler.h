#pragma once

#include "library/GameFile.h"

#include <QThreadPool>
#include <QWebEngineUrlSchemeHandler>
#include <string>

class SaveBridge;

// Serves the player's page through a scheme of the program's own, never a
// network socket: the host page, Ruffle's files, the movie with the files of
// its own folder (a game may load its levels and sounds by relative URL), and
// the answers to the page's questions about the games' saves.
// Anything else is refused, whatever the request's path tries: what lies
// outside before the disk is touched, and the rest is looked for away from
// the window's thread, so that a game that asks for thousands of files keeps
// neither the window nor the next game waiting.
class PlayerSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    static constexpr const char* Scheme = "pelliwick";
    static constexpr const char* Host = "player";

    // Registers the scheme; must run before the application object exists.
    static void registerScheme();

    PlayerSchemeHandler(std::string rufflePath, QObject* parent);
    ~PlayerSchemeHandler() override;

    // From now on the files of the game's folder are served as the game's
    // own, or no game's files at all. What the last game still waits for
    // is refused.
    void serve(const GameFile& game);
    void serveNoGame();
    // Where the page's questions about the games' saves go.
    void setSaves(SaveBridge* saves) { saves_ = saves; }

    // The URL of the host page, and the one under which a game's file is
    // served: this and the file's absolute path.
    static QUrl hostPageUrl();
    static QString gameFilesUrl();

    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    const std::string rufflePath_;
    std::string movieFolder_;
    // The folder the movie's folder is reached from through plain folders
    // alone: its category.
    std::string movieRoot_;
    SaveBridge* saves_ = nullptr;
    // Counts the movies served, so that an answer found for an earlier one
    // is never given to the next.
    quint64 movie_ = 0;
    QThreadPool lookups_;
};
