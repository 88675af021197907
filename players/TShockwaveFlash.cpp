#include "players/TShockwaveFlash.h"

#include "library/Exception.h"
#include "library/FileNameText.h"
#include "library/FileSystem.h"
#include "library/GameFile.h"
#include "players/FullScreenWindow.h"
#include "players/NoGpuNotice.h"
#include "players/PageWatch.h"
#include "players/PlayerLog.h"
#include "players/PlayerPages.h"
#include "players/PlayerSchemeHandler.h"
#include "players/SaveBridge.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QQuickWidget>
#include <QTimer>
#include <QWebEngineFullScreenRequest>
#include <QWebEnginePage>
#include <csignal>
#include <fstream>
#include <unistd.h>

namespace {

// Recoveries in a row, without a page loaded between them.
constexpr int MaxRecoveries = 3;
// No game needs more; one that takes it would take the machine's next.
constexpr qint64 MaxGameMemory = qint64(1536) << 20;
constexpr int GameWatchMs = 250;
// What a page may keep of the games before over what it held fresh; with
// more, it is made anew before the next game.
constexpr qint64 KeptMemory = qint64(256) << 20;

std::string ruffleFolder() {
    const std::string program = FileSystem::executablePath();
    return program.substr(0, program.rfind('/') + 1) + "ruffle";
}

bool hasWebAssembly(const std::string& folder) {
    const auto entries = FileSystem::enumerate(folder);
    return entries && std::any_of(entries->begin(), entries->end(),
                                  [](const DirEntry& e) { return e.lowerName.ends_with(".wasm"); });
}

// A JavaScript string literal holding text.
QString jsString(const QString& text) {
    const QByteArray array =
        QJsonDocument::fromVariant(QVariantList{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1).chopped(1));
}

} // namespace

void TShockwaveFlash::prepare() {
    // The host page lives in a static library: bring it in explicitly.
    Q_INIT_RESOURCE(players);
    PlayerSchemeHandler::registerScheme();
    // Without a graphics card OpenGL is emulated in software, which costs the
    // window some 50 ms of start-up and the player some 100 MB; the engine
    // draws faster and smaller in software of its own. A setting the user
    // made for Qt is kept.
    const bool gpu = access("/dev/dri/renderD128", F_OK) == 0;
    if (!gpu)
        NoGpuNotice::install();
    if (!gpu && !qEnvironmentVariableIsSet("QT_QUICK_BACKEND")) {
        qputenv("QT_XCB_GL_INTEGRATION", "none");
        qputenv("QT_QUICK_BACKEND", "software");
        QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags + " --disable-gpu");
    }
    // Offline below the page too: no name resolves and nothing is looked up
    // or fetched ahead, so a request that got past the page's interceptor
    // fails at once all the same.
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") +
                " --host-resolver-rules=\"MAP * ~NOTFOUND\" --dns-prefetch-disable"
                " --disable-background-networking");
    // Chromium refuses to start its sandbox as root and the process dies;
    // only then does the player run without it.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

TShockwaveFlash::TShockwaveFlash(QWidget* parent)
    : QWebEngineView(parent), rufflePath_(ruffleFolder()) {
    if (access((rufflePath_ + "/ruffle.js").c_str(), R_OK) != 0)
        throw Exception("The Flash player is not installed: " + rufflePath_ +
                        "/ruffle.js is missing");
    if (!hasWebAssembly(rufflePath_))
        throw Exception("The Flash player is not installed: no WebAssembly file in " + rufflePath_);
    setFocusPolicy(Qt::StrongFocus);
    // The page draws into a texture. A window that learns of that only when
    // the page appears is destroyed and made anew, which the user sees as a
    // flicker and the desktop as a new window: a hidden child of the same
    // kind tells the window from the start.
    (new QQuickWidget(this))->hide();
    saves_ = new SaveBridge(this);
    pages_ = new PlayerPages(rufflePath_, saves_, this);
    connect(pages_, &PlayerPages::loaded, this, &TShockwaveFlash::pageLoaded);
    connect(pages_, &PlayerPages::ended, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status) {
                // The engine is still telling of the process's end.
                if (status != QWebEnginePage::NormalTerminationStatus)
                    QTimer::singleShot(0, this, &TShockwaveFlash::renderProcessGone);
            });
    watch_ = new PageWatch(this);
    connect(watch_, &PageWatch::heldFound, this, [this](const QString& why) {
        if (ready_)
            renewPage(QStringLiteral("a command not taken up: ") + why);
    });
    // The page took the command up: it was sound after all.
    connect(watch_, &PageWatch::answered, pages_, &PlayerPages::dropSpare);
    connect(qApp, &QCoreApplication::aboutToQuit, this, &TShockwaveFlash::endGameBeforeQuitting);
    gameWatch_.setInterval(GameWatchMs);
    connect(&gameWatch_, &QTimer::timeout, this, &TShockwaveFlash::watchGame);
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
    leaveFullScreen();
    ready_ = false;
    gamePlayed_ = false;
    freshMemory_ = 0;
    gameWatch_.stop();
    QWebEnginePage* page = pages_->current();
    connect(page, &QWebEnginePage::fullScreenRequested, this,
            &TShockwaveFlash::fullScreenRequested);
    // Nothing sent to an earlier page is waited for any more.
    watch_->watch(page);
    const bool hadFocus = hasFocus() || (focusProxy() && focusProxy()->hasFocus());
    setPage(page);
    if (hadFocus)
        setFocus(Qt::OtherFocusReason);
    if (pages_->currentLoaded())
        pageLoaded(true);
}

void TShockwaveFlash::fullScreenRequested(QWebEngineFullScreenRequest request) {
    // Whether the request answers the user is the page's to judge: the
    // engine only passes on what the page let through.
    request.accept();
    if (!request.toggleOn()) {
        leaveFullScreen();
        return;
    }
    if (fullScreen_ && fullScreen_->isVisible())
        return;
    if (!fullScreen_) {
        fullScreen_ = new FullScreenWindow(this);
        // The engine leaves full screen without the game's say (even one
        // that no longer answers), and asks the player to follow.
        connect(fullScreen_, &FullScreenWindow::leaveRequested, this,
                [this] { page()->triggerAction(QWebEnginePage::ExitFullScreen); });
    }
    fullScreen_->enter();
}

void TShockwaveFlash::leaveFullScreen() {
    if (!fullScreen_ || !fullScreen_->isVisible())
        return;
    fullScreen_->leave();
    window()->activateWindow();
    SetFocus();
}

void TShockwaveFlash::pageLoaded(bool ok) {
    if (!ok || ready_)
        return;
    ready_ = true;
    recoveries_ = 0;
    qCDebug(playerLog) << "page ready, render process" << page()->renderProcessPid();
    if (!message_.isEmpty())
        page()->runJavaScript(QStringLiteral("pelliwick.say(%1)").arg(jsString(message_)));
    message_.clear();
    if (!movie_.empty())
        playInPage();
}

bool TShockwaveFlash::tellPage(const QString& script) {
    if (gamePlayed_) {
        const QString held = watch_->held();
        if (!held.isEmpty()) {
            renewPage(held);
            return false;
        }
    }
    // The question goes first: answered, the page has taken the command up,
    // however long the command then takes.
    watch_->ask();
    page()->runJavaScript(script);
    if (gamePlayed_)
        watch_->expectAnswer();
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

qint64 TShockwaveFlash::pageMemory() const {
    const qint64 pid = pages_->current() ? pages_->current()->renderProcessPid() : 0;
    if (pid <= 0)
        return 0;
    // Readable even where the sandbox hides the rest of the process.
    std::ifstream statm("/proc/" + std::to_string(pid) + "/statm");
    qint64 size = 0;
    qint64 resident = 0;
    if (!(statm >> size >> resident))
        return 0;
    return resident * sysconf(_SC_PAGESIZE);
}

bool TShockwaveFlash::keepsTooMuch(qint64 memory) const {
    return gamePlayed_ && freshMemory_ > 0 && memory > freshMemory_ + KeptMemory;
}

void TShockwaveFlash::watchGame() {
    if (!ready_ || movie_.empty())
        return;
    if (!watch_->asking())
        watch_->ask();
    const qint64 memory = pageMemory();
    // A page that the game holds, or that keeps more than the next game may
    // find, is likely made anew at the next selection: a spare page is
    // started now, and the next game need not wait for it.
    if (const QString held = watch_->held(); !held.isEmpty())
        pages_->prepareSpare(held);
    else if (keepsTooMuch(memory))
        pages_->prepareSpare(QStringLiteral("the page holds %1 MB").arg(memory >> 20));
    if (memory <= MaxGameMemory)
        return;
    movie_.clear();
    pages_->handler()->setMovieFolder({});
    message_ = QStringLiteral("This game was stopped: it took more than %1 GB of memory.")
                   .arg(double(MaxGameMemory) / (1 << 30));
    renewPage(QStringLiteral("the game took %1 MB").arg(memory >> 20));
}

void TShockwaveFlash::renderProcessGone() {
    ready_ = false;
    // The movie that was playing may be what brought the page down: it is
    // not played again; the next selection plays as usual.
    movie_.clear();
    pages_->handler()->setMovieFolder({});
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
        movie_.clear();
        if (pages_->handler())
            pages_->handler()->setMovieFolder({});
        gameWatch_.stop();
        if (ready_)
            tellPage(QStringLiteral("pelliwick.unload()"));
        return;
    }
    // The URL's text stands for the path's bytes exactly, UTF-8 or not.
    const std::string bytes = FileNameText::bytes(url.toStdU16String());
    if (!bytes.starts_with("file:///"))
        throw Exception("The Flash player cannot open " + bytes);
    movie_ = bytes.substr(7);
    createPage();
    if (ready_)
        playInPage();
    else if (recoveries_ >= MaxRecoveries) {
        // Recovery gave up earlier: a new selection tries again.
        recoveries_ = 0;
        pages_->replace();
        showPage();
    }
}

QString TShockwaveFlash::movie() const {
    return QString::fromStdU16String(FileNameText::exact(movie_));
}

void TShockwaveFlash::playInPage() {
    const std::string folder = movie_.substr(0, movie_.rfind('/'));
    // No game file, no game: the player stays empty, as the original player
    // did, rather than showing the engine's advice about loading files.
    const int game = FileSystem::openInside(folder, movie_);
    if (game < 0) {
        pages_->handler()->setMovieFolder({});
        gameWatch_.stop();
        tellPage(QStringLiteral("pelliwick.unload()"));
        return;
    }
    ::close(game);
    // What the games before left in the page's engine stays there: a page
    // that holds much more than it did fresh is made anew first.
    const qint64 memory = pageMemory();
    if (!gamePlayed_)
        freshMemory_ = memory;
    else if (keepsTooMuch(memory)) {
        renewPage(QStringLiteral("it holds %1 MB after its games, %2 MB fresh")
                      .arg(memory >> 20)
                      .arg(freshMemory_ >> 20));
        return;
    }
    pages_->handler()->setMovieFolder(folder);
    const std::string movieUrl = GameFile::movieUrl(movie_);
    const std::string movieKey = SaveStore::movieKey(movieUrl);
    const QJsonObject saves{{QStringLiteral("movie"), QString::fromStdString(movieKey)},
                            {QStringLiteral("token"), saves_->open(movieKey)}};
    const QString baseUrl = QString::fromStdString(GameFile::movieUrl(folder + '/'));
    if (!tellPage(QStringLiteral("pelliwick.play(%1, %2, %3)")
                      .arg(jsString(QString::fromStdString(movieUrl)), jsString(baseUrl),
                           QString::fromUtf8(QJsonDocument(saves).toJson(QJsonDocument::Compact)))))
        return;
    gamePlayed_ = true;
    gameWatch_.start();
}

void TShockwaveFlash::gameMoved(const std::string& from, const std::string& to) {
    saves_->gameMoved(SaveStore::movieKey(GameFile::movieUrl(from)),
                      SaveStore::movieKey(GameFile::movieUrl(to)));
}

void TShockwaveFlash::endGameBeforeQuitting() {
    if (ready_ && !movie_.empty()) {
        QEventLoop sent;
        connect(saves_, &SaveBridge::allSent, &sent, &QEventLoop::quit);
        QTimer::singleShot(1000, &sent, &QEventLoop::quit);
        page()->runJavaScript(QStringLiteral("pelliwick.unload()"));
        sent.exec();
    }
    saves_->drain();
}

void TShockwaveFlash::SetFocus() {
    setFocus(Qt::OtherFocusReason);
    if (ready_)
        page()->runJavaScript(QStringLiteral("pelliwick.focus()"));
}
