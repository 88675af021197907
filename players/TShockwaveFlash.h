#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWebEngineView>

class FullScreenWindow;
class PlayerSchemeHandler;
class SaveBridge;
class QWebEngineFullScreenRequest;
class QWebChannel;
class QWebEnginePage;
class QWebEngineProfile;

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
    // A game, or the player's menu, asks to go full screen or to leave it.
    void fullScreenRequested(QWebEngineFullScreenRequest request);
    // The page back in the player area, the keyboard on the game.
    void leaveFullScreen();
    void loadHostPage();
    void pageLoaded(bool ok);
    void renderProcessGone();
    void playInPage();
    // A command to the page that must be taken up at once: a page that does
    // not answer within moments is held by the game before, and is made anew
    // (at once when it has not answered for that long already). False when
    // the command waits for the new page.
    bool tellPage(const QString& script);
    // Asks the page for nothing but an answer, which comes as soon as the
    // page is free; its number.
    quint64 probe();
    // Ends the render process, and with it whatever game holds or fills it;
    // the page is then made anew, and plays the movie the player holds.
    void renewPage(const QString& why);
    // The resident memory of the page's render process; 0 when unknown.
    qint64 pageMemory() const;
    // While a game plays: stops it when it takes more memory than any game
    // needs, and asks the page whether it still answers.
    void watchGame();
    // What the playing game has not saved yet, the engine writes as the
    // game ends; the program waits for that before it ends.
    void endGameBeforeQuitting();

    const std::string rufflePath_;
    QWebEngineProfile* profile_ = nullptr;
    QWebEnginePage* page_ = nullptr;
    PlayerSchemeHandler* handler_ = nullptr;
    SaveBridge* saves_ = nullptr;
    QWebChannel* channel_ = nullptr;
    bool ready_ = false;
    // The path's bytes.
    std::string movie_;
    // Recoveries from a dead render process since a page last loaded.
    int recoveries_ = 0;
    // Set while the page is made anew on purpose.
    bool renewing_ = false;
    // Whether a game has played in this page: only such a page is ever held
    // by a game, and a fresh one is given all the time it needs.
    bool gamePlayed_ = false;
    // Counts the probes sent to the page, and the last one answered.
    quint64 probes_ = 0;
    quint64 answered_ = 0;
    // Since the page last answered anything.
    QElapsedTimer lastAnswer_;
    // The page's memory once its engine has started, the measure of a fresh page.
    qint64 freshMemory_ = 0;
    // What the player area says when the page is next ready.
    QString message_;
    QTimer gameWatch_;
    // Made at the first request for full screen.
    FullScreenWindow* fullScreen_ = nullptr;
};
