#pragma once

#include <QWebEnginePage>

class QWebEngineDownloadRequest;

// The player's page. A game may have the user pick a file, to open or to
// save, only in answer to the user's click or key inside it (the engine
// refuses it otherwise), and only in a dialog of the program's that starts in
// the user's home folder; a file it saves goes where the user picks, or
// nowhere.
class PlayerPage : public QWebEnginePage {
    Q_OBJECT
public:
    PlayerPage(QWebEngineProfile* profile, QObject* parent);

protected:
    QStringList chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                            const QStringList& acceptedMimeTypes) override;
    // What the engine and the game write to the page's console (a sound
    // made after its game ended, a game's own trace) is no word to the
    // user: it goes to the player's log at debug level.
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int line, const QString& source) override;

private:
    void downloadRequested(QWebEngineDownloadRequest* download);
};
