#pragma once

#include <QObject>
#include <QWebEnginePage>
#include <string>

class PlayerSchemeHandler;
class SaveBridge;
class QWebChannel;
class QWebEngineProfile;
class QWebEngineView;

// The player's pages, all made alike on the engine's one profile: the page
// the player shows, and a spare one, started beside it only while there is
// reason to expect that the shown page must be made anew (a game holds it,
// or it keeps too much memory), so that the next game need not wait for the
// engine to start afresh.
class PlayerPages : public QObject {
    Q_OBJECT
public:
    // The pages show in view.
    PlayerPages(std::string rufflePath, SaveBridge* saves, QWebEngineView* view);
    ~PlayerPages() override;

    // The shown page; none before start().
    QWebEnginePage* current() const { return current_; }
    // Whether the shown page has loaded and can take commands.
    bool currentLoaded() const { return currentLoaded_; }
    PlayerSchemeHandler* handler() const { return handler_; }

    // Starts the engine with the first page.
    void start();
    // Starts a spare page beside the shown one, unless there is one.
    void prepareSpare(const QString& why);
    // The shown page proved sound: the spare goes again.
    void dropSpare();
    // The shown page goes; the spare, or a page made now, takes its place.
    void replace();

signals:
    // The shown page has loaded (ok) or failed to.
    void loaded(bool ok);
    // The shown page's render process ended by itself.
    void ended(QWebEnginePage::RenderProcessTerminationStatus status, int exitCode);

private:
    QWebEnginePage* makePage(QWebEngineView* view);
    // Ranks the page's render process first for the kernel to end when the
    // machine runs out of memory.
    void rankFirst(QWebEnginePage* page);
    // Logs once the spare page's engine has readied itself.
    void tellWhenWarm(QWebEnginePage* page);

    QWebEngineView* const view_;
    // Where the spare page loads, out of sight.
    QWebEngineView* spareView_ = nullptr;
    const std::string rufflePath_;
    SaveBridge* const saves_;
    QWebEngineProfile* profile_ = nullptr;
    PlayerSchemeHandler* handler_ = nullptr;
    QWebChannel* channel_ = nullptr;
    QWebEnginePage* current_ = nullptr;
    bool currentLoaded_ = false;
    QWebEnginePage* spare_ = nullptr;
    bool spareLoaded_ = false;
    // Whether the player has said that the kernel refuses to rank its render
    // processes first: once is enough.
    bool rankRefusedTold_ = false;
};
