// The game player timed as a user meets it, in the program's own main window
// over a library of solid-colour movies, with every moment read off the
// screen. One mode per process, so that each start-up is a real one:
//
//   listed       process start to the window on screen with its list drawn
//   first-frame  process start to the first movie's first frame, the first
//                entry clicked as soon as the window is on screen; then the
//                memory of the program and its helper processes while it plays
//   clicks       click to first frame: the first game after start-up (cold)
//                and later ones alternating colours (warm); the memory after
//                the first game and after the last
//
// A library's entries are named "<anything>-RRGGBB", the colour the movie
// fills the stage with; the first entry is the one played cold, later entries
// take turns for the warm clicks. Without --library the benchmark writes one.
//
// Built twice: as PlayerBenchmark with the real player, and as PlainStartup
// with plain widgets in the player's place (listed mode only), so that the
// two start-ups compare the same window with and without the web engine.
#include "AtomicFileWriter.h"
#include "BenchClock.h"
#include "DemoMovies.h"
#include "ProcessMemory.h"
#include "ScreenProbe.h"
#include "app/Application.h"
#include "app/TMainForm.h"
#include "players/TShockwaveFlash.h"

#include <QEventLoop>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using BenchClock::now;
using BenchClock::report;
using BenchClock::sinceStart;

namespace {

constexpr int TimeoutMs = 30000;

struct Options {
    std::string mode;
    std::string library;
    int warmClicks = 8;
    int settleMs = 2000;
};

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, what);
    std::fflush(stdout);
    std::_Exit(1);
}

Options parse(int argc, char** argv) {
    Options options;
    if (argc > 1)
        options.mode = argv[1];
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--library")
            options.library = argv[i + 1];
        else if (name == "--warm")
            options.warmClicks = std::atoi(argv[i + 1]);
        else if (name == "--settle")
            options.settleMs = std::atoi(argv[i + 1]);
        else
            fail("usage: PlayerBenchmark listed|first-frame|clicks [--library DIR] "
                 "[--warm N] [--settle MS]");
    }
#ifdef PELLIWICK_PLAIN_PLAYER
    if (options.mode != "listed")
        fail("the plain-widget build has no player: listed mode only");
#endif
    if (options.mode != "listed" && options.mode != "first-frame" && options.mode != "clicks")
        fail("mode is listed, first-frame or clicks");
    return options;
}

// A library of three movies in the first category, named as the benchmark
// reads them. The driver script writes the same with pelliwick-swf.
std::string writeLibrary(const QTemporaryDir& dir) {
    const std::string root = dir.path().toStdString();
    mkdir((root + "/Action").c_str(), 0755);
    const std::pair<const char*, Rgb> movies[] = {{"cold-c83228", {0xc8, 0x32, 0x28}},
                                                  {"warm-28a046", {0x28, 0xa0, 0x46}},
                                                  {"warm-2850c8", {0x28, 0x50, 0xc8}}};
    for (const auto& [name, colour] : movies) {
        std::string error;
        if (!AtomicFileWriter::write(root + "/Action/" + name + ".swf",
                                     DemoMovies::solid(colour, 320, 240), error))
            fail(error.c_str());
    }
    return root;
}

QColor colourOf(const QString& entry) {
    const QColor colour(QLatin1Char('#') + entry.right(6));
    if (!colour.isValid())
        fail("an entry's name does not end in its colour RRGGBB");
    return colour;
}

// Runs the event loop for ms, as a user who waits.
void idle(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the event loop until done() holds, looking every millisecond.
bool waitFor(const std::function<bool()>& done, int timeoutMs = TimeoutMs) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start(1);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    if (!done())
        loop.exec();
    return done();
}

// Notes when the window first becomes visible on screen.
class ExposeWatch : public QObject {
public:
    explicit ExposeWatch(QWindow* window) : window_(window) { window->installEventFilter(this); }
    std::int64_t exposedAt() const { return exposedAt_; }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Expose && !exposedAt_ && window_->isExposed())
            exposedAt_ = now();
        return QObject::eventFilter(object, event);
    }

private:
    QWindow* window_;
    std::int64_t exposedAt_ = 0;
};

// The strip of the first list line where its text starts.
std::vector<QRect> firstListLine(const TMainForm& form) {
    QWidget* viewport = form.ListBox1->viewport();
    const QRect line = form.ListBox1->visualRect(form.ListBox1->model()->index(0, 0));
    const QPoint at = viewport->mapToGlobal(line.topLeft() + QPoint(4, 2));
    return {QRect(at, QSize(std::min(120, line.width() - 8), 12))};
}

// A line across the middle of the player area each way: the movie fills it
// all, so both show its colour only once the movie is really drawn.
std::vector<QRect> playerCross(const QWidget* player) {
    const QPoint origin = player->mapToGlobal(QPoint(0, 0));
    const int w = player->width(), h = player->height(), inset = 8;
    return {QRect(origin + QPoint(inset, h / 2), QSize(w - 2 * inset, 1)),
            QRect(origin + QPoint(w / 2, inset), QSize(1, h - 2 * inset))};
}

// Clicks the entry in row as a user does, and returns when the click is done
// (the program has taken it: the movie loads on its own from here).
std::int64_t click(TMainForm& form, int row) {
    const QRect line = form.ListBox1->visualRect(form.ListBox1->model()->index(row, 0));
    const std::int64_t at = now();
    QTest::mouseClick(form.ListBox1->viewport(), Qt::LeftButton, {}, line.center());
    return at;
}

void listed(TMainForm& form) {
    ScreenProbe probe;
    probe.watch(firstListLine(form), ScreenProbe::text());
    const std::int64_t seen = probe.wait(TimeoutMs);
    if (!seen)
        fail("the list never reached the screen");
    report("listed_ms", sinceStart(seen));
}

void firstFrame(TMainForm& form, const ExposeWatch& watch, const Options& options) {
    ScreenProbe probe;
    probe.watch(playerCross(form.ShockwaveFlash1),
                ScreenProbe::all(colourOf(form.ListBox1->text(0))));
    if (!waitFor([&] { return watch.exposedAt() != 0; }))
        fail("the window was never exposed");
    const std::int64_t clicked = click(form, 0);
    const std::int64_t seen = probe.wait(TimeoutMs);
    if (!seen)
        fail("the first movie never reached the screen");
    report("clicked_ms", sinceStart(clicked));
    report("first_frame_ms", sinceStart(seen));
    idle(options.settleMs);
    ProcessMemory::report("program", ProcessMemory::tree(getpid()));
}

void clicks(TMainForm& form, const ExposeWatch& watch, const Options& options) {
    if (!waitFor([&] { return watch.exposedAt() != 0; }))
        fail("the window was never exposed");
    // A user looks at the window before choosing a game: the player has
    // had the time to make its page.
    if (!waitFor([&] { return form.ShockwaveFlash1->isReady(); }))
        fail("the player's page never became ready");
    report("page_ready_after_exposed_ms", BenchClock::ms(now() - watch.exposedAt()));
    idle(1000);

    ScreenProbe probe;
    const auto play = [&](int row) {
        probe.watch(playerCross(form.ShockwaveFlash1),
                    ScreenProbe::all(colourOf(form.ListBox1->text(row))));
        const std::int64_t clicked = click(form, row);
        const std::int64_t seen = probe.wait(TimeoutMs);
        if (!seen)
            fail("a movie never reached the screen");
        return BenchClock::ms(seen - clicked);
    };
    report("cold_click_ms", play(0));
    idle(options.settleMs);
    ProcessMemory::report("program_after_one_game", ProcessMemory::tree(getpid()));
    const int warmRows = std::max(1, form.ListBox1->count() - 1);
    for (int i = 0; i < options.warmClicks; ++i) {
        report("warm_click_ms", play(1 + i % warmRows));
        idle(300);
    }
    idle(options.settleMs);
    ProcessMemory::report("program_after_games", ProcessMemory::tree(getpid()));
}

} // namespace

int main(int argc, char** argv) {
    const std::int64_t entered = now();
    BenchClock::processStart();
    const Options options = parse(argc, argv);
    TShockwaveFlash::prepare();
    Application app(argc, argv);
    const std::int64_t appMade = now();

    QTemporaryDir own;
    const std::string library = options.library.empty() ? writeLibrary(own) : options.library;
    TMainForm form(library + "/pelliwick");
    const std::int64_t formMade = now();
    form.show();
    const std::int64_t shown = now();
    if (form.ListBox1->count() < 2)
        fail("the library's first category needs two movies or more");
    ExposeWatch watch(form.windowHandle());

    if (options.mode == "listed")
        listed(form);
    else if (options.mode == "first-frame")
        firstFrame(form, watch, options);
    else
        clicks(form, watch, options);
    // How the start-up was spent, in the order it happened.
    report("main_entered_ms", sinceStart(entered));
    report("application_made_ms", sinceStart(appMade));
    report("form_made_ms", sinceStart(formMade));
    report("shown_ms", sinceStart(shown));
    if (watch.exposedAt())
        report("exposed_ms", sinceStart(watch.exposedAt()));
    // The engine's shutdown is no part of the figures, and in single-process
    // mode it does not finish: leave at once (the helpers follow).
    own.remove();
    std::_Exit(0);
}
