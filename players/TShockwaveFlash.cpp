#include "players/TShockwaveFlash.h"

#include "library/Exception.h"
#include "library/FileNameText.h"
#include "library/FileSystem.h"
#include "library/GameFile.h"
#include "players/FullScreenWindow.h"
#include "players/OfflineInterceptor.h"
#include "players/PlayerLog.h"
#include "players/PlayerPage.h"
#include "players/PlayerSchemeHandler.h"
#include "players/SaveBridge.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QQuickWidget>
#include <QTimer>
#include <QWebChannel>
#include <QWebEngineFullScreenRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <csignal>
#include <fstream>
#include <unistd.h>

namespace {

// Recoveries in a row, without a page loaded between them.
constexpr int MaxRecoveries = 3;
// A page that has not taken up a command by then is held by a game.
constexpr int AnswerMs = 500;
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
    if (access("/dev/dri/renderD128", F_OK) != 0 &&
        !qEnvironmentVariableIsSet("QT_QUICK_BACKEND")) {
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
    connect(qApp, &QCoreApplication::aboutToQuit, this, &TShockwaveFlash::endGameBeforeQuitting);
    gameWatch_.setInterval(GameWatchMs);
    connect(&gameWatch_, &QTimer::timeout, this, &TShockwaveFlash::watchGame);
}

TShockwaveFlash::~TShockwaveFlash() {
    // The page goes before the profile it was made with.
    delete page_;
}

void TShockwaveFlash::paintEvent(QPaintEvent* event) {
    QWebEngineView::paintEvent(event);
    // The first paint means the window is on screen: only now start the
    // engine, which takes a while and would otherwise hold the window back.
    if (!profile_)
        QTimer::singleShot(0, this, &TShockwaveFlash::createPage);
}

void TShockwaveFlash::showEvent(QShowEvent* event) {
    if (page_)
        QWebEngineView::showEvent(event);
    else
        QWidget::showEvent(event);
}

void TShockwaveFlash::hideEvent(QHideEvent* event) {
    if (page_)
        QWebEngineView::hideEvent(event);
    else
        QWidget::hideEvent(event);
}

void TShockwaveFlash::createPage() {
    if (profile_)
        return;
    profile_ = new QWebEngineProfile(this);
    profile_->setHttpCacheType(QWebEngineProfile::NoCache);
    handler_ = new PlayerSchemeHandler(rufflePath_, this);
    profile_->installUrlSchemeHandler(PlayerSchemeHandler::Scheme, handler_);
    profile_->setUrlRequestInterceptor(new OfflineInterceptor(profile_));
    page_ = new PlayerPage(profile_, this);
    channel_ = new QWebChannel(this);
    channel_->registerObject(QStringLiteral("saves"), saves_);
    page_->setWebChannel(channel_);
    QWebEngineSettings* settings = page_->settings();
    settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    settings->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    settings->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, true);
    connect(page_, &QWebEnginePage::loadFinished, this, &TShockwaveFlash::pageLoaded);
    connect(page_, &QWebEnginePage::fullScreenRequested, this,
            &TShockwaveFlash::fullScreenRequested);
    connect(page_, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) {
                qCInfo(playerLog) << "render process ended:" << status << "exit code" << exitCode
                                  << (renewing_ ? "(ended on purpose)" : "");
                // The engine is still telling of the process's end: the page
                // is made anew once it has done so.
                if (renewing_) {
                    renewing_ = false;
                    QTimer::singleShot(0, this, &TShockwaveFlash::loadHostPage);
                } else if (status != QWebEnginePage::NormalTerminationStatus) {
                    QTimer::singleShot(0, this, &TShockwaveFlash::renderProcessGone);
                }
            });
    const bool hadFocus = hasFocus();
    setPage(page_);
    // The page's surface is a new child that takes the view's focus; give it
    // the view's place in the tab order.
    if (focusProxy())
        QWidget::setTabOrder(this, focusProxy());
    loadHostPage();
    if (hadFocus)
        setFocus(Qt::OtherFocusReason);
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
                [this] { page_->triggerAction(QWebEnginePage::ExitFullScreen); });
    }
    fullScreen_->enter(page_, this);
}

void TShockwaveFlash::leaveFullScreen() {
    if (!fullScreen_ || !fullScreen_->isVisible())
        return;
    fullScreen_->leave();
    // Its surface comes back with it, to the end of the window's tab order,
    // which is the player's place (placed there again, it would tie the
    // window's chain of focus into a loop).
    setPage(page_);
    window()->activateWindow();
    SetFocus();
}

void TShockwaveFlash::loadHostPage() {
    ready_ = false;
    gamePlayed_ = false;
    freshMemory_ = 0;
    // Nothing sent to an earlier page is waited for any more.
    answered_ = probes_;
    lastAnswer_.start();
    gameWatch_.stop();
    page_->setUrl(PlayerSchemeHandler::hostPageUrl());
}

void TShockwaveFlash::pageLoaded(bool ok) {
    if (!ok || ready_)
        return;
    ready_ = true;
    recoveries_ = 0;
    if (!message_.isEmpty())
        page_->runJavaScript(QStringLiteral("pelliwick.say(%1)").arg(jsString(message_)));
    message_.clear();
    if (!movie_.empty())
        playInPage();
}

quint64 TShockwaveFlash::probe() {
    const quint64 probe = ++probes_;
    page_->runJavaScript(QStringLiteral("0"), [this, probe](const QVariant&) {
        answered_ = std::max(answered_, probe);
        lastAnswer_.start();
    });
    return probe;
}

bool TShockwaveFlash::tellPage(const QString& script) {
    if (gamePlayed_ && answered_ < probes_ && lastAnswer_.elapsed() > AnswerMs) {
        renewPage(QStringLiteral("no answer for %1 ms").arg(lastAnswer_.elapsed()));
        return false;
    }
    // The probe goes first: answered, the page has taken the command up,
    // however long the command then takes.
    const quint64 taken = probe();
    page_->runJavaScript(script);
    if (gamePlayed_)
        QTimer::singleShot(AnswerMs, this, [this, taken] {
            if (ready_ && answered_ < taken)
                renewPage(QStringLiteral("a command not taken up within %1 ms").arg(AnswerMs));
        });
    return true;
}

void TShockwaveFlash::renewPage(const QString& why) {
    qCInfo(playerLog) << "page made anew:" << qPrintable(why);
    const qint64 pid = page_->renderProcessPid();
    ready_ = false;
    gameWatch_.stop();
    if (pid > 0 && ::kill(pid_t(pid), SIGKILL) == 0)
        renewing_ = true; // made anew once the engine has seen the process end
    else
        loadHostPage();
}

qint64 TShockwaveFlash::pageMemory() const {
    const qint64 pid = page_ ? page_->renderProcessPid() : 0;
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

void TShockwaveFlash::watchGame() {
    if (!ready_ || movie_.empty())
        return;
    if (answered_ == probes_)
        probe();
    const qint64 memory = pageMemory();
    if (memory <= MaxGameMemory)
        return;
    movie_.clear();
    handler_->setMovieFolder({});
    message_ = QStringLiteral("This game was stopped: it took more than %1 GB of memory.")
                   .arg(double(MaxGameMemory) / (1 << 30));
    renewPage(QStringLiteral("the game took %1 MB").arg(memory >> 20));
}

void TShockwaveFlash::renderProcessGone() {
    ready_ = false;
    // The movie that was playing may be what brought the page down: it is
    // not played again; the next selection plays as usual.
    movie_.clear();
    handler_->setMovieFolder({});
    if (recoveries_ < MaxRecoveries) {
        ++recoveries_;
        qCInfo(playerLog) << "page made anew after its render process died, time" << recoveries_;
        loadHostPage();
    } else {
        qCWarning(playerLog) << "render process died" << recoveries_
                             << "times in a row: the next selection tries again";
    }
}

void TShockwaveFlash::setMovie(const QString& url) {
    if (url.isEmpty()) {
        movie_.clear();
        if (handler_)
            handler_->setMovieFolder({});
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
    else if (recoveries_ >= MaxRecoveries)
        loadHostPage(); // recovery gave up earlier: a new selection tries again
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
        handler_->setMovieFolder({});
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
    else if (freshMemory_ > 0 && memory > freshMemory_ + KeptMemory) {
        renewPage(QStringLiteral("it holds %1 MB after its games, %2 MB fresh")
                      .arg(memory >> 20)
                      .arg(freshMemory_ >> 20));
        return;
    }
    handler_->setMovieFolder(folder);
    const std::string movieUrl = GameFile::movieUrl(movie_);
    const std::string movieKey = SaveStore::movieKey(movieUrl);
    const QJsonObject saves{
        {QStringLiteral("movie"), QString::fromStdString(movieKey)},
        {QStringLiteral("entries"), saves_->open(movieKey)},
        {QStringLiteral("maxBytes"), qint64(SaveStore::MaxSaveBytes)},
        {QStringLiteral("maxPerFolder"), qint64(SaveStore::MaxSavesPerFolder)},
    };
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
    if (!ready_ || movie_.empty())
        return;
    QEventLoop sent;
    connect(saves_, &SaveBridge::allSent, &sent, &QEventLoop::quit);
    QTimer::singleShot(1000, &sent, &QEventLoop::quit);
    page_->runJavaScript(QStringLiteral("pelliwick.unload()"));
    sent.exec();
}

void TShockwaveFlash::SetFocus() {
    setFocus(Qt::OtherFocusReason);
    if (ready_)
        page_->runJavaScript(QStringLiteral("pelliwick.focus()"));
}
