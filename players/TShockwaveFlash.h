#pragma once

#include "library/GameFile.h"

#include <QWebEngineView>
#include <functional>
#include <optional>

class FullScreenWindow;
class GameSaves;
class GameWatch;
class SaveBridge;
class PlayerPages;
class QWebEngineFullScreenRequest;

// The game player: Ruffle, the Flash player of the web, in a page of its own
// that fills the player area. The page is loaded once the window is on screen,
// so the player never delays the first listing; a movie put before that plays
// as soon as the page is ready.
class TShockwaveFlash : public QWebEngineView {
    Q_OBJECT
public:
    // What the player needs before the application object exists.
    static void prepare();

    // Fails with an Exception naming what is missing when Ruffle's files are
    // not beside the program.
    explicit TShockwaveFlash(QWidget* parent = nullptr);
    ~TShockwaveFlash() override;

    // The player's write-only Movie: a "file://" URL plays that movie at once, replacing whatever
    // played; the empty string unloads it. Returns without waiting for the movie to load. Any other
    // URL cannot be played and raises an Exception.
    void setMovie(const QString& url);
    // The same put for a game of the library, which plays from its own
    // folder, reached from its category through plain folders alone: its
    // movie URL is the game's, and nothing above its folder is its to read.
    void setMovie(const GameFile& game);

    // The path of the movie the player holds, as text that stands for its
    // bytes exactly; empty when it holds none.
    QString movie() const;

    // Keyboard focus into the running movie, so that keys reach the game.
    void SetFocus();

    // The game's file is now the other's: its saves go with it.
    void gameMoved(const GameFile& from, const GameFile& to);

    // The game the player holds, if any.
    const std::optional<GameFile>& playing() const { return movie_; }
    // The games' saves for the user's hand, once everything the game
    // playing now has saved is on disk, a moment ago included.
    SaveBridge* savesOnDisk();
    // Runs change on the saves with the game that plays let go, and plays
    // it again afterwards, so that it starts with the saves as change left
    // them and never writes what it held before over them. Nothing the game
    // sends after it is let go can reach the disk: a page that does not
    // answer within seconds is made anew.
    void changeSaves(const std::function<void()>& change);

    // True once the page can take a movie (for those who must wait for it).
    bool isReady() const { return ready_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    // Until the page exists, the base view must not see these: it would make
    // a page of its own at once.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void createPage();
    // Shows the pages' current one, made anew: it has played no game yet.
    void showPage();
    void fullScreenRequested(QWebEngineFullScreenRequest request);
    void pageLoaded(bool ok);
    void renderProcessGone();
    void playInPage(const GameFile& game);
    // The player holds no game any more, and serves none of its files.
    void stopGame();
    // A command to the page that must be taken up: a page held by the game
    // before is made anew (at once when it is held already). False when the
    // command waits for the new page.
    bool tellPage(const QString& script);
    // Ends the render process, and with it whatever game holds or fills it;
    // a page made anew (the spare, where one was started) plays the movie
    // the player holds.
    void renewPage(const QString& why);

    const std::string rufflePath_;
    GameSaves* saves_ = nullptr;
    PlayerPages* pages_ = nullptr;
    GameWatch* watch_ = nullptr;
    bool ready_ = false;
    // The game the player holds.
    std::optional<GameFile> movie_;
    // Recoveries from a dead render process since a page last loaded.
    int recoveries_ = 0;
    // What the player area says when the page is next ready.
    QString message_;
    // Made at the first request for full screen.
    FullScreenWindow* fullScreen_ = nullptr;
};
