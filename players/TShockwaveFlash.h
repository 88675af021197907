#pragma once

#include <QTimer>
#include <QWebEngineView>

class FullScreenWindow;
class PageWatch;
class PlayerPages;
class SaveBridge;
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

    // The path of the movie the player holds, as text that stands for its
    // bytes exactly; empty when it holds none.
    QString movie() const;

    // Keyboard focus into the running movie, so that keys reach the game.
    void SetFocus();

    // The game file at from is now at to: its saves go with it.
    void gameMoved(const std::string& from, const std::string& to);

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
    // A game, or the player's menu, asks to go full screen or to leave it.
    void fullScreenRequested(QWebEngineFullScreenRequest request);
    // The player back in its place in the window, the keyboard on the game.
    void leaveFullScreen();
    void pageLoaded(bool ok);
    void renderProcessGone();
    void playInPage();
    // A command to the page that must be taken up: a page held by the game
    // before is made anew (at once when it is held already). False when the
    // command waits for the new page.
    bool tellPage(const QString& script);
    // Ends the render process, and with it whatever game holds or fills it;
    // a page made anew (the spare, where one was started) plays the movie
    // the player holds.
    void renewPage(const QString& why);
    // Whether the page keeps much more memory than it held fresh.
    bool keepsTooMuch(qint64 memory) const;
    // The resident memory of the page's render process; 0 when unknown.
    qint64 pageMemory() const;
    // While a game plays: stops it when it takes more memory than any game
    // needs, and asks the page whether it still answers.
    void watchGame();
    // What the playing game has not saved yet, the engine writes as the
    // game ends; the program waits for that, and for every save to reach
    // the disk, before it ends.
    void endGameBeforeQuitting();

    const std::string rufflePath_;
    SaveBridge* saves_ = nullptr;
    PlayerPages* pages_ = nullptr;
    bool ready_ = false;
    // The path's bytes.
    std::string movie_;
    // Recoveries from a dead render process since a page last loaded.
    int recoveries_ = 0;
    // Whether a game has played in this page: only such a page is ever held
    // by a game, and a fresh one is given all the time it needs.
    bool gamePlayed_ = false;
    PageWatch* watch_ = nullptr;
    // The page's memory once its engine has started, the measure of a fresh page.
    qint64 freshMemory_ = 0;
    // What the player area says when the page is next ready.
    QString message_;
    QTimer gameWatch_;
    // Made at the first request for full screen.
    FullScreenWindow* fullScreen_ = nullptr;
};
