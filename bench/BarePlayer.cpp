// The anchor of the player benchmark: the web engine with Ruffle playing one
// movie and nothing else. One window, the size and place of the program's
// player area, showing a page that starts Ruffle on the movie at once. Prints
// the time from process start to the movie's first frame on screen, then the
// memory of this process and its helpers while the movie plays.
//
// Usage: BarePlayer --movie FILE.swf [--geometry X,Y,W,H] [--settle MS]
//                   [--file-urls] [--renderer NAME]
//                   [--then FILE.swf ... --switches N [--reuse]]
//        BarePlayer --movie FILE.swf --playing [--geometry X,Y,W,H]
// A movie's colour is its name's last six characters (RRGGBB), as the
// benchmark's library names them.
//   --file-urls  the page and its files as file: URLs instead of through a
//                scheme of the application's own
//   --renderer   the renderer Ruffle tries first (canvas, webgl, ...)
//   --then       after the first frame, switch N times between these movies
//                and time each switch to its first frame: with a new Ruffle
//                player each time, or with --reuse in the one player there is
//   --playing    only plays the movie, whatever its colours, until ended
//                (for the frame-rate benchmark, which reads the page)
#include "BenchClock.h"
#include "ProcessMemory.h"
#include "ScreenProbe.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrlQuery>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

constexpr int TimeoutMs = 30000;
const QByteArray Scheme = "bare";

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "BarePlayer: %s\n", what);
    std::fflush(stdout);
    std::_Exit(1);
}

// The page, Ruffle's files and the movies ("/movieK.swf"), all from one host.
class BareScheme : public QWebEngineUrlSchemeHandler {
public:
    BareScheme(QString ruffle, QStringList movies)
        : ruffle_(std::move(ruffle)), movies_(std::move(movies)) {}

    void requestStarted(QWebEngineUrlRequestJob* job) override {
        const QString path = job->requestUrl().path();
        QString file;
        QByteArray type = "application/octet-stream";
        if (path == QLatin1String("/bare.html")) {
            file = QStringLiteral(":/bare/bare.html");
            type = "text/html";
        } else if (path == QLatin1String("/fetch-route.js") ||
                   path == QLatin1String("/ruffle-settings.js")) {
            file = QStringLiteral(":/bare") + path;
            type = "text/javascript";
        } else if (path.startsWith(QLatin1String("/movie")) &&
                   path.endsWith(QLatin1String(".swf"))) {
            file = movies_.value(path.mid(6).chopped(4).toInt(), QString());
            type = "application/x-shockwave-flash";
        } else if (path.startsWith(QLatin1String("/ruffle/")) && path.count('/') == 2) {
            file = ruffle_ + path.mid(7);
            if (path.endsWith(QLatin1String(".js")))
                type = "text/javascript";
            else if (path.endsWith(QLatin1String(".wasm")))
                type = "application/wasm";
        }
        auto* device = new QFile(file, job);
        if (file.isEmpty() || !device->open(QIODevice::ReadOnly)) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        job->reply(type, device);
    }

private:
    const QString ruffle_;
    const QStringList movies_;
};

struct Options {
    QStringList movies;
    QRect geometry{331, 191, 416, 323}; // the program's player area on its screen
    int settleMs = 2000;
    bool fileUrls = false;
    QString renderer;
    int switches = 0;
    bool reuse = false;
    bool playing = false;
};

Options parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const QString name = QString::fromLocal8Bit(argv[i]);
        const QString value = i + 1 < argc ? QString::fromLocal8Bit(argv[i + 1]) : QString();
        if (name == QLatin1String("--file-urls")) {
            o.fileUrls = true;
            continue;
        }
        if (name == QLatin1String("--reuse")) {
            o.reuse = true;
            continue;
        }
        if (name == QLatin1String("--playing")) {
            o.playing = true;
            continue;
        }
        ++i;
        if (name == QLatin1String("--movie") || name == QLatin1String("--then"))
            o.movies.append(QFileInfo(value).absoluteFilePath());
        else if (name == QLatin1String("--settle"))
            o.settleMs = value.toInt();
        else if (name == QLatin1String("--renderer"))
            o.renderer = value;
        else if (name == QLatin1String("--switches"))
            o.switches = value.toInt();
        else if (name == QLatin1String("--geometry") && value.split(',').size() == 4) {
            const QStringList n = value.split(',');
            o.geometry = QRect(n[0].toInt(), n[1].toInt(), n[2].toInt(), n[3].toInt());
        } else
            fail("usage: BarePlayer --movie FILE.swf [--geometry X,Y,W,H] [--settle MS] "
                 "[--file-urls] [--renderer NAME] [--then FILE.swf ... --switches N [--reuse]] "
                 "[--playing]");
    }
    if (o.movies.isEmpty())
        fail("no --movie given");
    if (o.switches > 0 && o.movies.size() < 2)
        fail("--switches needs --then movies");
    return o;
}

QColor colourOf(const QString& movie) {
    const QColor colour(QLatin1Char('#') + QFileInfo(movie).completeBaseName().right(6));
    if (!colour.isValid())
        fail("a movie's name does not end in its colour RRGGBB");
    return colour;
}

// Waits like a user, the event loop running.
void idle(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char** argv) {
    BenchClock::processStart();
    const Options options = parse(argc, argv);

    // What any web engine application must do before its application object.
    QWebEngineUrlScheme scheme(Scheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::CorsEnabled);
    QWebEngineUrlScheme::registerScheme(scheme);
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1"); // Chromium's sandbox refuses root
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);

    const QString ruffle = QCoreApplication::applicationDirPath() + QStringLiteral("/ruffle/");
    BareScheme handler(ruffle, options.movies);
    QWebEngineView view;
    view.page()->settings()->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    QTemporaryDir files;
    QUrl page;
    if (options.fileUrls) {
        // The same page with its files beside it.
        const QString dir = files.path();
        for (const auto* name : {"/bare.html", "/fetch-route.js", "/ruffle-settings.js"})
            QFile::copy(QStringLiteral(":/bare") + QLatin1String(name), dir + QLatin1String(name));
        QFile::link(ruffle, dir + QStringLiteral("/ruffle"));
        for (int k = 0; k < options.movies.size(); ++k)
            QFile::link(options.movies[k], dir + QStringLiteral("/movie%1.swf").arg(k));
        page = QUrl::fromLocalFile(dir + QStringLiteral("/bare.html"));
    } else {
        view.page()->profile()->installUrlSchemeHandler(Scheme, &handler);
        page = QUrl(QStringLiteral("bare://player/bare.html"));
    }
    if (!options.renderer.isEmpty())
        page.setQuery(QUrlQuery{{QStringLiteral("renderer"), options.renderer}});
    view.load(page);
    view.show();
    // Set before show(), the window's width became its x on this X server.
    view.setGeometry(options.geometry);
    if (options.playing)
        return app.exec();

    ScreenProbe probe;
    const QRect& g = options.geometry;
    const int inset = 8;
    const std::vector<QRect> cross = {
        QRect(g.x() + inset, g.center().y(), g.width() - 2 * inset, 1),
        QRect(g.center().x(), g.y() + inset, 1, g.height() - 2 * inset)};
    probe.watch(cross, ScreenProbe::all(colourOf(options.movies[0])));
    const std::int64_t seen = probe.wait(TimeoutMs);
    if (!seen)
        fail("the movie never reached the screen");
    BenchClock::report("bare_first_frame_ms", BenchClock::sinceStart(seen));

    if (options.switches > 0)
        idle(1000);
    for (int i = 0; i < options.switches; ++i) {
        const int k = 1 + i % (options.movies.size() - 1);
        probe.watch(cross, ScreenProbe::all(colourOf(options.movies[k])));
        const std::int64_t asked = BenchClock::now();
        view.page()->runJavaScript(
            QStringLiteral("play('movie%1.swf', %2)")
                .arg(k)
                .arg(options.reuse ? QStringLiteral("true") : QStringLiteral("false")));
        const std::int64_t switched = probe.wait(TimeoutMs);
        if (!switched)
            fail("a movie switched to never reached the screen");
        BenchClock::report("bare_switch_ms", BenchClock::ms(switched - asked));
        idle(300);
    }

    idle(options.settleMs);
    ProcessMemory::report(options.switches > 0 ? "bare_after_games" : "bare",
                          ProcessMemory::tree(getpid()));
    // The engine's shutdown is no part of the figures, and in single-process
    // mode it does not finish: leave at once (the helpers follow).
    std::_Exit(0);
}
