// The game player with the real engine, in a real window: what the user sees
// in the player area after each step, read off the screen.
#include "AtomicFileWriter.h"
#include "DemoMovies.h"
#include "app/Application.h"
#include "app/TMainForm.h"
#include "library/Exception.h"
#include "library/ProcessWork.h"
#include "players/TShockwaveFlash.h"
#include "support/ModalAnswerer.h"
#include "support/ShowActive.h"
#include "support/Snapshot.h"
#include "support/TestMain.h"
#include "support/TreeBuilder.h"

#include <QFile>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QWebEnginePage>
#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>

namespace {

const QColor Blue(30, 80, 200), Yellow(240, 200, 40), Red(200, 30, 30), Green(40, 160, 60),
    Purple(120, 40, 160), Orange(250, 140, 20), White(255, 255, 255);

Rgb rgb(const QColor& c) {
    return {std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue())};
}

void writeMovie(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::string error;
    QVERIFY2(AtomicFileWriter::write(path, bytes, error), error.c_str());
}

bool near(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) < 12 && std::abs(a.green() - b.green()) < 12 &&
           std::abs(a.blue() - b.blue()) < 12;
}

bool within(const QWidget* control, const QWidget* widget) {
    return widget && (widget == control || control->isAncestorOf(widget));
}

// A process held back as on a machine busy with other work: stopped, let run
// for a moment, stopped again, from the start until the end of its scope.
class Starved {
public:
    Starved(qint64 pid, int stoppedMs, int runningMs) : pid_(pid_t(pid)) {
        kill(pid_, SIGSTOP);
        slices_ = std::thread([this, stoppedMs, runningMs] {
            using std::chrono::milliseconds;
            while (!done_) {
                std::this_thread::sleep_for(milliseconds(stoppedMs));
                kill(pid_, SIGCONT);
                std::this_thread::sleep_for(milliseconds(runningMs));
                kill(pid_, SIGSTOP);
            }
            kill(pid_, SIGCONT);
        });
    }
    ~Starved() {
        done_ = true;
        slices_.join();
    }

private:
    const pid_t pid_;
    std::atomic<bool> done_ = false;
    std::thread slices_;
};

} // namespace

class PlayerTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TreeBuilder> library_;
    std::unique_ptr<TMainForm> form_;

    // The colour the player area shows, when it shows one colour all over
    // (the centre and two corners agree); invalid otherwise.
    QColor shown() const {
        QWidget* player = form_->ShockwaveFlash1;
        const QPoint origin = player->mapToGlobal(QPoint(0, 0));
        QColor seen;
        for (const QPoint at : {QPoint(player->width() / 2, player->height() / 2), QPoint(6, 6),
                                QPoint(player->width() - 7, player->height() - 7)}) {
            const QColor colour =
                QGuiApplication::primaryScreen()
                    ->grabWindow(0, origin.x() + at.x(), origin.y() + at.y(), 1, 1)
                    .toImage()
                    .pixelColor(0, 0);
            if (seen.isValid() && !near(seen, colour))
                return {};
            seen = colour;
        }
        return seen;
    }

    void click(const QString& entry) {
        const int row = int(form_->ListBox1->texts().indexOf(entry));
        QVERIFY2(row >= 0, qPrintable(entry));
        const QModelIndex index = form_->ListBox1->model()->index(row, 0);
        QTest::mouseClick(form_->ListBox1->viewport(), Qt::LeftButton, {},
                          form_->ListBox1->visualRect(index).center());
    }

    // A key pressed on the keyboard, through the X server: the engine reads the
    // key's code from the native event, which a synthesized Qt event lacks.
    static void pressKey(const QString& key) {
        QCOMPARE(QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), key}), 0);
    }

    qint64 renderProcess() const { return form_->ShockwaveFlash1->page()->renderProcessPid(); }

    void addTestMovie(const char* name) {
        const QString movie = QStringLiteral(PELLIWICK_TEST_MOVIES "/%1.swf").arg(name);
        QVERIFY(QFile::copy(movie, QString::fromStdString(library_->path("Action/")) + name +
                                       QStringLiteral(".swf")));
        form_->ComboBox1Change(form_->ComboBox1);
    }

    // What a script evaluates to in the player's page.
    QVariant evaluate(const QString& script) {
        QVariant result;
        bool done = false;
        form_->ShockwaveFlash1->page()->runJavaScript(script, [&](const QVariant& value) {
            result = value;
            done = true;
        });
        if (!QTest::qWaitFor([&] { return done; }, HangMs))
            qWarning("the page did not answer: %s", qPrintable(script));
        return result;
    }

private slots:
    void initTestCase() {
        library_ = std::make_unique<TreeBuilder>();
        library_->folder("Action");
        writeMovie(library_->path("Action/Key Game.swf"),
                   DemoMovies::keySwitch(rgb(Blue), rgb(Yellow), 320, 240));
        writeMovie(library_->path("Action/red.swf"), DemoMovies::solid(rgb(Red), 320, 240));
        writeMovie(library_->path("Action/Space War.SWF"), DemoMovies::solid(rgb(Green), 200, 300));
        writeMovie(library_->path("Action/loader.swf"),
                   DemoMovies::loader(rgb(Purple), "Next.swf", 320, 240));
        writeMovie(library_->path("Action/Next.swf"), DemoMovies::solid(rgb(Orange), 320, 240));
        form_ = std::make_unique<TMainForm>(library_->path("pelliwick"));
        QVERIFY(showActive(form_.get()));
        QTRY_VERIFY_WITH_TIMEOUT(form_->ShockwaveFlash1->isReady(), HangMs);
    }
    void cleanupTestCase() {
        form_.reset();
        library_.reset();
    }

    void pageReady_readiesTheEngineBeforeTheFirstGame() {
        // Ruffle's engine is made with no game chosen, and what readied it is
        // gone again, leaving the player area empty.
        const QString engineReady = QStringLiteral(
            "pelliwick.engineReady && document.querySelectorAll('ruffle-player').length === 0");
        QTRY_VERIFY_WITH_TIMEOUT(evaluate(engineReady).toBool(), HangMs);
        QVERIFY(near(shown(), White));
    }

    void click_playsTheGameNamesItAndFocusesIt() {
        QCOMPARE(form_->ListBox1->texts(),
                 (QStringList{"key game", "loader", "next", "red", "space war"}));
        click("key game");
        QTRY_VERIFY_WITH_TIMEOUT(near(shown(), Blue), HangMs);
        QCOMPARE(form_->Edit1->text(), QStringLiteral("key game"));
        QVERIFY(within(form_->ShockwaveFlash1, QApplication::focusWidget()));
    }

    void keys_reachTheGame() {
        // An arrow here; the end-to-end tests press a letter and the space bar.
        pressKey(QStringLiteral("Right"));
        QTRY_VERIFY_WITH_TIMEOUT(near(shown(), Yellow), HangMs);
    }

    void selection_replacesTheGame() {
        click("red");
        QTRY_VERIFY_WITH_TIMEOUT(near(shown(), Red), HangMs);
        // Listed in lower case, stored as Space War.SWF, stretched to fill.
        click("space war");
        QTRY_VERIFY_WITH_TIMEOUT(near(shown(), Green), HangMs);
        QCOMPARE(form_->Edit1->text(), QStringLiteral("space war"));
    }

    void sameEntryAgain_startsTheGameAgain() {
        click("key game");
        QTRY_VERIFY_WITH_TIMEOUT(near(shown(), Blue), HangMs);
        pressKey("space");
        QTRY_VERIFY_WITH_TIMEOUT(near(shown(), Yellow), HangMs);
        click("key game");
        QTRY_VERIFY_WITH_TIMEOUT(near(shown(), Blue), HangMs);
    }

    void game_loadsFilesBesideItByRelativeUrl() {
        click("loader");
        QTRY_VERIFY_WITH_TIMEOUT(near(shown(), Orange), HangMs);
    }

    void everyPage_isWhatTheKernelEndsFirstWhenMemoryRunsOut() {
        const auto ranking = [this] {
            QFile file(QStringLiteral("/proc/%1/oom_score_adj").arg(renderProcess()));
            return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
        };
        // A page made anew, before it plays anything, as a spare page is.
        const qint64 pid = renderProcess();
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression("render process ended: .*Killed"));
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression("page made anew after its render"));
        QCOMPARE(kill(pid_t(pid), SIGKILL), 0);
        QTRY_VERIFY_WITH_TIMEOUT(renderProcess() != pid && form_->ShockwaveFlash1->isReady(),
                                 HangMs);
        QCOMPARE(ranking(), QByteArray("1000"));
        click("red");
        QTRY_VERIFY_WITH_TIMEOUT(near(shown(), Red), HangMs);
        QCOMPARE(ranking(), QByteArray("1000"));
    }

    void unload_emptiesThePlayer() {
        form_->UnloadPlayer();
        QTRY_VERIFY_WITH_TIMEOUT(near(shown(), White), HangMs);
    }

    void deadRenderProcess_recoversEveryTimeAPageLoadedBetweenAndTheNextSelectionPlays() {
        click("red");
        QTRY_VERIFY_WITH_TIMEOUT(near(shown(), Red), HangMs);
        // More deaths than the recoveries allowed in a row: a page that
        // loads between them starts the count again.
        for (int death = 0; death < 4; ++death) {
            const qint64 pid = form_->ShockwaveFlash1->page()->renderProcessPid();
            QVERIFY(pid > 0);
            QTest::ignoreMessage(QtInfoMsg,
                                 QRegularExpression("render process ended: .*Killed.* exit code"));
            QTest::ignoreMessage(QtInfoMsg, QRegularExpression("page made anew after its render "
                                                               "process died, time 1"));
            QCOMPARE(kill(pid_t(pid), SIGKILL), 0);
            QTRY_VERIFY_WITH_TIMEOUT(!form_->ShockwaveFlash1->isReady(), HangMs);
            QTRY_VERIFY_WITH_TIMEOUT(form_->ShockwaveFlash1->isReady(), HangMs);
            QVERIFY(form_->ShockwaveFlash1->page()->renderProcessPid() != pid);
        }
        click("space war");
        QTRY_VERIFY_WITH_TIMEOUT(near(shown(), Green), HangMs);
    }

    void put_thatCannotBeCarriedOut_reachesTheReporter() {
        QVERIFY_THROWS_EXCEPTION(Exception,
                                 form_->ShockwaveFlash1->setMovie("http://example.org/x.swf"));
        ModalAnswerer answerer;
        QTimer::singleShot(0, form_.get(),
                           [this] { form_->ShockwaveFlash1->setMovie("game.swf"); });
        QTRY_COMPARE_WITH_TIMEOUT(answerer.seen().size(), size_t(1), HangMs);
        QCOMPARE(answerer.seen()[0].text, QStringLiteral("The Flash player cannot open game.swf."));
        // The game that played goes on.
        QVERIFY(near(shown(), Green));
    }

    void pageWaitingForTheCpu_isNotMadeAnewAndTheNextGamePlays() {
        // A page that is given the CPU for a tenth of a second in every
        // second answers late, though at once for its own work.
        click("red");
        QTRY_VERIFY_WITH_TIMEOUT(near(shown(), Red), HangMs);
        const qint64 page = renderProcess();
        {
            const Starved starved(page, 1000, 100);
            click("space war");
            QTRY_VERIFY_WITH_TIMEOUT(near(shown(), Green), HangMs);
        }
        QCOMPARE(renderProcess(), page);
        // A game that works 400 ms at a time with short rests, the page
        // getting the CPU half the time: its answers come after up to 800 ms.
        addTestMovie("Bursts");
        click("bursts");
        QTRY_VERIFY_WITH_TIMEOUT(near(shown(), QColor(0xF0C828)), HangMs);
        {
            const Starved starved(page, 100, 100);
            for (int round = 0; round < 3; ++round) {
                click("space war");
                QTRY_VERIFY_WITH_TIMEOUT(near(shown(), Green), HangMs);
                click("bursts");
                QTRY_VERIFY_WITH_TIMEOUT(near(shown(), QColor(0xF0C828)), HangMs);
            }
        }
        QCOMPARE(renderProcess(), page);
    }

    void heldPage_isMadeAnewForWhatHoldsItAndTheNextGamePlays() {
        // A script that never ends works the CPU without answering.
        addTestMovie("Endless");
        click("endless");
        QTRY_VERIFY_WITH_TIMEOUT(near(shown(), QColor(0x808080)), HangMs);
        const qint64 spinning = renderProcess();
        const std::int64_t idle = ProcessWork::of(spinning)->mainThreadMs;
        QTRY_VERIFY_WITH_TIMEOUT(ProcessWork::of(spinning)->mainThreadMs - idle >= 300, HangMs);
        QTest::ignoreMessage(
            QtInfoMsg,
            QRegularExpression("page made anew: .*worked \\d+ ms of CPU time without answering"));
        click("space war");
        QTRY_VERIFY_WITH_TIMEOUT(near(shown(), Green), HangMs);
        QVERIFY(renderProcess() != spinning);
        // A stopped page neither answers nor runs.
        const qint64 stopped = renderProcess();
        QCOMPARE(kill(pid_t(stopped), SIGSTOP), 0);
        QTest::ignoreMessage(
            QtInfoMsg, QRegularExpression("page made anew: .*neither answered nor ran .*stopped"));
        click("red");
        QTRY_VERIFY_WITH_TIMEOUT(near(shown(), Red), HangMs);
        QVERIFY(renderProcess() != stopped);
    }

    void brokenMovies_leaveThePlayerWorkingAndTheLibraryUnchanged() {
        // Zero bytes, random bytes, a movie cut in half, and 50 MB of a movie
        // that is mostly junk after its header.
        std::vector<std::uint8_t> good = DemoMovies::solid(rgb(Red), 320, 240);
        std::vector<std::uint8_t> noise(64 * 1024);
        std::uint32_t seed = 12345;
        for (auto& byte : noise)
            byte = std::uint8_t((seed = seed * 1103515245 + 12345) >> 16);
        std::vector<std::uint8_t> huge = good;
        huge.resize(50 * 1024 * 1024, 0x5A);
        writeMovie(library_->path("Action/empty.swf"), {});
        writeMovie(library_->path("Action/noise.swf"), noise);
        writeMovie(library_->path("Action/half.swf"),
                   std::vector<std::uint8_t>(good.begin(), good.begin() + good.size() / 2));
        writeMovie(library_->path("Action/huge.swf"), huge);
        form_->ComboBox1Change(form_->ComboBox1);
        const Snapshot before = snapshot(library_->root());
        for (const char* broken : {"empty", "noise", "half", "huge"}) {
            click(broken);
            // The window answers: the list takes the next click.
            QTRY_COMPARE_WITH_TIMEOUT(form_->Edit1->text(), QString::fromLatin1(broken), HangMs);
        }
        // A page still busy with the 50 MB movie may be made anew at the next
        // selection: the game must show in the page that is ready.
        click("space war");
        QTRY_VERIFY_WITH_TIMEOUT(form_->ShockwaveFlash1->isReady() && near(shown(), Green), HangMs);
        QCOMPARE(snapshot(library_->root()), before);
    }
};

PELLIWICK_TEST_MAIN(PlayerTest)
#include "PlayerTest.moc"
