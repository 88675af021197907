#include "players/TShockwaveFlash.h"

#include "library/Exception.h"
#include "library/FileNameText.h"
#include "library/FileSystem.h"
#include "library/PlayerSettings.h"
#include "players/FullScreenWindow.h"
#include "players/GameSaves.h"
#include "players/GameWatch.h"
#include "players/PageCommands.h"
#include "players/PlayerEngine.h"
#include "players/PlayerLog.h"
#include "players/PlayerPages.h"
#include "players/PlayerSchemeHandler.h"
#include "players/SaveBridge.h"

#include <QCoreApplication>
#include <QQuickWidget>
#include <QTimer>
#include <QWebEngineFullScreenRequest>
#include <QWebEnginePage>
#include <csignal>
#include <unistd.h>

namespace {

// Recoveries in a row, without a page loaded between them.
constexpr int MaxRecoveries = 3;
// How long the page may take to send the saves it holds when the user asks
// for them; a busy machine may take a few seconds.
constexpr int SettleMs = 5000;

} // namespace

void TShockwaveFlash::prepare() {
    PlayerEngine::prepare();
}

TShockwaveFlash::TShockwaveFlash(QWidget* parent)
    : QWebEngineView(parent), rufflePath_(PlayerEngine::ruffleFolder()) {
    setFocusPolicy(Qt::StrongFocus);
    // The page draws into a texture. A window that learns of that only when
    // the page appears is destroyed and made anew, which the user sees as a
    // flicker and the desktop as a new window: a hidden child of the same
    // kind tells the window from the start.
    (new QQuickWidget(this))->hide();
    saves_ = new GameSaves(this);
    pages_ = new PlayerPages(rufflePath_, saves_->bridge(), this);
    connect(pages_, &PlayerPages::loaded, this, &TShockwaveFlash::pageLoaded);
    connect(pages_, &PlayerPages::ended, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status) {
                // The engine is still telling of the process's end.
                if (status != QWebEnginePage::NormalTerminationStatus)
                    QTimer::singleShot(0, this, &TShockwaveFlash::renderProcessGone);
            });
    watch_ = new GameWatch(this);
    connect(watch_, &GameWatch::heldFound, this, [this](const QString& why) {
        if (ready_)
            renewPage(QStringLiteral("a command not taken up: ") + why);
    });
    // The page took the command up: it was sound after all.
    connect(watch_, &GameWatch::answered, pages_, &PlayerPages::dropSpare);
    connect(watch_, &GameWatch::spareWanted, pages_, &PlayerPages::prepareSpare);
    connect(watch_, &GameWatch::gameTooLarge, this, [this](const QString& what) {
        stopGame();
        message_ = QStringLiteral("This game was stopped: %1.").arg(what);
        renewPage(what);
    });
    connect(qApp, &QCoreApplication::aboutToQuit, this,
            [this] { saves_->endBeforeQuitting(ready_ && movie_ ? page() : nullptr); });
}

TShockwaveFlash::~TShockwaveFlash() {
    // The pages go while the view that shows one is still whole; the view
    // then goes as a view without a page.
    delete std::exchange(pages_, nullptr);
}

void TShockwaveFlash::paintEvent(QPaintEvent* event) {
    QWebEngineView::paintEvent(event);
    // The first paint means the window is on screen: only now start the
    // engine, which takes a while and would otherwise hold the window back.
    if (!pages_->current())
        QTimer::singleShot(0, this, &TShockwaveFlash::createPage);
}

void TShockwaveFlash::showEvent(QShowEvent* event) {
    if (pages_ && pages_->current())
        QWebEngineView::showEvent(event);
    else
        QWidget::showEvent(event);
}

void TShockwaveFlash::hideEvent(QHideEvent* event) {
    if (pages_ && pages_->current())
        QWebEngineView::hideEvent(event);
    else
        QWidget::hideEvent(event);
}

void TShockwaveFlash::createPage() {
    if (pages_->current())
        return;
    pages_->start();
    showPage();
}

void TShockwaveFlash::showPage() {
    // A page made anew is never full screen.
    if (fullScreen_)
        fullScreen_->leave();
    ready_ = false;
    QWebEnginePage* page = pages_->current();
    connect(page, &QWebEnginePage::fullScreenRequested, this,
            &TShockwaveFlash::fullScreenRequested);
    watch_->watch(page);
    const bool hadFocus = hasFocus() || (focusProxy() && focusProxy()->hasFocus());
    setPage(page);
    if (hadFocus)
        setFocus(Qt::OtherFocusReason);
    if (pages_->currentLoaded())
        pageLoaded(true);
}

void TShockwaveFlash::fullScreenRequested(QWebEngineFullScreenRequest request) {
    if (!fullScreen_) {
        fullScreen_ = new FullScreenWindow(this);
        // The engine leaves full screen without the game's say (even one
        // that no longer answers), and asks the player to follow.
        connect(fullScreen_, &FullScreenWindow::leaveRequested, this,
                [this] { page()->triggerAction(QWebEnginePage::ExitFullScreen); });
        // Back in the window, the keyboard on the game.
        connect(fullScreen_, &FullScreenWindow::left, this, [this] {
            window()->activateWindow();
            SetFocus();
        });
    }
    fullScreen_->answer(std::move(request));
}

void TShockwaveFlash::pageLoaded(bool ok) {
    if (!ok || ready_)
        return;
    ready_ = true;
    recoveries_ = 0;
    qCDebug(playerLog) << "page ready, render process" << page()->renderProcessPid();
    if (!message_.isEmpty())
        page()->runJavaScript(PageCommands::say(message_));
    message_.clear();
    if (movie_)
        playInPage(*movie_);
}

bool TShockwaveFlash::tellPage(const QString& script) {
    if (const QString held = watch_->heldBefore(); !held.isEmpty()) {
        renewPage(held);
        return false;
    }
    watch_->tell(script);
    return true;
}

void TShockwaveFlash::renewPage(const QString& why) {
    qCInfo(playerLog) << "page made anew:" << qPrintable(why);
    // Nothing of the page is waited for: a game may hold its process for good.
    if (const qint64 pid = page()->renderProcessPid(); pid > 0)
        ::kill(pid_t(pid), SIGKILL);
    pages_->replace();
    showPage();
}

void TShockwaveFlash::stopGame() {
    movie_.reset();
    if (pages_->handler())
        pages_->handler()->serveNoGame();
    watch_->gameEnds();
}

void TShockwaveFlash::renderProcessGone() {
    ready_ = false;
    // The kernel ended the game's process, ranked first, when the game took
    // more at once than the machine had: the player says so.
    if (const QString why = watch_->endedForMemory(); !why.isEmpty()) {
        qCInfo(playerLog).noquote() << "the game's render process was ended:" << why;
        message_ = QStringLiteral("This game was stopped: %1.").arg(why);
    }
    // The movie that was playing may be what brought the page down: it is
    // not played again; the next selection plays as usual.
    stopGame();
    if (recoveries_ < MaxRecoveries) {
        ++recoveries_;
        qCInfo(playerLog) << "page made anew after its render process died, time" << recoveries_;
        pages_->replace();
        showPage();
    } else {
        qCWarning(playerLog) << "render process died" << recoveries_
                             << "times in a row: the next selection tries again";
    }
}

void TShockwaveFlash::setMovie(const QString& url) {
    if (url.isEmpty()) {
        stopGame();
        if (ready_)
            tellPage(PageCommands::unload());
        return;
    }
    // The URL's text stands for the path's bytes exactly, UTF-8 or not.
    const std::string bytes = FileNameText::bytes(url.toStdU16String());
    const std::optional<GameFile> game = GameFile::ofMovieUrl(bytes);
    if (!game)
        throw Exception("The Flash player cannot open " + bytes);
    setMovie(*game);
}

void TShockwaveFlash::setMovie(const GameFile& game) {
    movie_ = game;
    createPage();
    if (ready_)
        playInPage(*movie_);
    else if (recoveries_ >= MaxRecoveries) {
        // Recovery gave up earlier: a new selection tries again.
        recoveries_ = 0;
        pages_->replace();
        showPage();
    }
}

QString TShockwaveFlash::movie() const {
    return movie_ ? QString::fromStdU16String(FileNameText::exact(movie_->path())) : QString();
}

void TShockwaveFlash::playInPage(const GameFile& game) {
    // No game file, no game: the player stays empty, as the original player
    // did, rather than showing the engine's advice about loading files.
    const int file = FileSystem::openInside(game.folder(), game.path(), game.category());
    if (file < 0) {
        pages_->handler()->serveNoGame();
        watch_->gameEnds();
        tellPage(PageCommands::unload());
        return;
    }
    ::close(file);
    if (const QString full = watch_->tooFullBefore(); !full.isEmpty()) {
        renewPage(full);
        return;
    }
    pages_->handler()->serve(game);
    if (!tellPage(PageCommands::play(game, saves_->open(game), saves_->settings(game))))
        return;
    watch_->gameStarts();
}

void TShockwaveFlash::gameMoved(const GameFile& from, const GameFile& to) {
    saves_->gameMoved(from, to);
}

SaveBridge* TShockwaveFlash::savesOnDisk() {
    // A page held by its game sends nothing: what is on disk is all there is.
    if (ready_ && movie_ && watch_->heldBefore().isEmpty())
        saves_->settle(page(), PageCommands::flush(), SettleMs);
    saves_->bridge()->drain();
    return saves_->bridge();
}

void TShockwaveFlash::changeSaves(const std::function<void()>& change) {
    const std::optional<GameFile> game = movie_;
    if (game && ready_) {
        stopGame();
        if (!watch_->heldBefore().isEmpty() ||
            !saves_->settle(page(), PageCommands::unload(), SettleMs))
            renewPage(QStringLiteral("its saves change, and it sent them not"));
    }
    saves_->bridge()->drain();
    change();
    if (game)
        setMovie(*game);
}

void TShockwaveFlash::SetFocus() {
    setFocus(Qt::OtherFocusReason);
    if (ready_)
        page()->runJavaScript(PageCommands::focus());
}
