#pragma once

#include <QWebEngineUrlSchemeHandler>
#include <string>

// Serves the player's page through a scheme of the program's own, never a
// network socket: the host page, Ruffle's files, and the movie with the files
// of its own folder (a game may load its levels and sounds by relative URL).
// Anything else is refused, whatever the request's path tries.
class PlayerSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    static constexpr const char* Scheme = "pelliwick";
    static constexpr const char* Host = "player";

    // Registers the scheme; must run before the application object exists.
    static void registerScheme();

    PlayerSchemeHandler(std::string rufflePath, QObject* parent);

    // The folder whose files may be served as the movie's own; empty serves
    // no movie at all.
    void setMovieFolder(std::string folder) { movieFolder_ = std::move(folder); }

    // The URLs of the host page, and of a file of the movie's folder.
    static QUrl hostPageUrl();
    static QUrl gameUrl(const QString& absolutePath);

    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    const std::string rufflePath_;
    std::string movieFolder_;
};
