// When a game's memory threatens the machine: the rule on the figures of
// machines of 4, 8, 24 and 64 GB, and the figures as the kernel tells them.
#include "library/GameMemoryLimit.h"

#include "support/TestMain.h"

#include <QTemporaryDir>
#include <QTest>
#include <fstream>

Q_DECLARE_METATYPE(GameMemoryLimit::Exceeded)

namespace {

constexpr std::int64_t MB = std::int64_t(1) << 20;
constexpr std::int64_t GB = std::int64_t(1) << 30;
// What a page holds fresh, before its game takes anything.
constexpr std::int64_t FreshPage = 200 * MB;
// What a game growing fast takes between two of the player's checks.
constexpr std::int64_t Step = 48 * MB;

// The machine while the game's page holds `game`, the page having held
// FreshPage with `availableFresh` available: every byte the game takes is one
// fewer available, as long as nothing else takes or gives back memory.
MachineMemory machineWith(std::int64_t total, std::int64_t availableFresh, std::int64_t game) {
    return MachineMemory{total, availableFresh - (game - FreshPage)};
}

const char* meminfo = "MemTotal:        8039892 kB\n"
                      "MemFree:          412300 kB\n"
                      "MemAvailable:    5242880 kB\n"
                      "Buffers:          180312 kB\n"
                      "Cached:          4711220 kB\n"
                      "SwapTotal:       2097148 kB\n";

} // namespace

class GameMemoryLimitTest : public QObject {
    Q_OBJECT
private slots:
    void judge_letsASteadyGameTheMachineCarriesPlay_data() {
        QTest::addColumn<std::int64_t>("total");
        QTest::addColumn<std::int64_t>("availableFresh");
        QTest::addColumn<std::int64_t>("game");
        // A desktop of 4 GB has some 2.4 GB left with the player started.
        QTest::newRow("4 GB, a game of 1.5 GB") << 4 * GB << 2400 * MB << 1536 * MB;
        // The large studio's game holds 3.0 GB as it plays its title screen.
        QTest::newRow("8 GB, a game of 3 GB") << 8 * GB << 6 * GB << 3 * GB;
        QTest::newRow("24 GB, a game of 3 GB") << 24 * GB << 20 * GB << 3 * GB;
        // The engine holds no more of a game than this.
        QTest::newRow("64 GB, a game of 4.2 GB") << 64 * GB << 60 * GB << 4300 * MB;
    }
    void judge_letsASteadyGameTheMachineCarriesPlay() {
        QFETCH(std::int64_t, total);
        QFETCH(std::int64_t, availableFresh);
        QFETCH(std::int64_t, game);
        const MachineMemory machine = machineWith(total, availableFresh, game);
        QCOMPARE(GameMemoryLimit::judge(game, machine), GameMemoryLimit::Exceeded::Nothing);
        QVERIFY(GameMemoryLimit::largestGame(
                    FreshPage, machineWith(total, availableFresh, FreshPage)) >= game);
    }

    void judge_stopsAGameGrowingWithoutBoundWhileTheMachineHasItsReserve_data() {
        QTest::addColumn<std::int64_t>("total");
        QTest::addColumn<std::int64_t>("availableFresh");
        QTest::addColumn<std::int64_t>("reserve");
        QTest::addColumn<GameMemoryLimit::Exceeded>("exceeded");
        using E = GameMemoryLimit::Exceeded;
        // A tenth of the machine, and at least 512 MB.
        QTest::newRow("4 GB") << 4 * GB << 2400 * MB << 512 * MB << E::HalfTheMachine;
        QTest::newRow("4 GB, other programs took most")
            << 4 * GB << 900 * MB << 512 * MB << E::Reserve;
        QTest::newRow("8 GB") << 8 * GB << 6 * GB << 8 * GB / 10 << E::HalfTheMachine;
        QTest::newRow("24 GB with 4 GB left") << 24 * GB << 4 * GB << 24 * GB / 10 << E::Reserve;
        QTest::newRow("64 GB") << 64 * GB << 60 * GB << 64 * GB / 10 << E::HalfTheMachine;
        QTest::newRow("64 GB with 7 GB left") << 64 * GB << 7 * GB << 64 * GB / 10 << E::Reserve;
    }
    void judge_stopsAGameGrowingWithoutBoundWhileTheMachineHasItsReserve() {
        QFETCH(std::int64_t, total);
        QFETCH(std::int64_t, availableFresh);
        QFETCH(std::int64_t, reserve);
        QFETCH(GameMemoryLimit::Exceeded, exceeded);
        QCOMPARE(GameMemoryLimit::reserve(total), reserve);
        const std::int64_t largest =
            GameMemoryLimit::largestGame(FreshPage, machineWith(total, availableFresh, FreshPage));
        std::int64_t game = FreshPage;
        while (GameMemoryLimit::judge(game, machineWith(total, availableFresh, game)) ==
               GameMemoryLimit::Exceeded::Nothing) {
            QVERIFY2(game <= total, "never stopped");
            game += Step;
        }
        QCOMPARE(GameMemoryLimit::judge(game, machineWith(total, availableFresh, game)), exceeded);
        // Stopped at the check after it passed what the machine could give
        // it, with the machine's reserve still there but for that check's
        // growth: the kernel has taken nothing back from other programs.
        QVERIFY2(game > largest && game - Step <= largest,
                 qPrintable(QStringLiteral("stopped at %1 MB, largest %2 MB")
                                .arg(game / MB)
                                .arg(largest / MB)));
        QVERIFY2(machineWith(total, availableFresh, game).availableBytes >= reserve - Step,
                 qPrintable(QString::number(
                     machineWith(total, availableFresh, game).availableBytes / MB)));
    }

    void judge_blamesNoSmallGameForWhatOtherProgramsTook() {
        // Other programs left 100 MB of 8 GB.
        const MachineMemory machine{8 * GB, 100 * MB};
        QCOMPARE(GameMemoryLimit::judge(400 * MB, machine), GameMemoryLimit::Exceeded::Nothing);
        QCOMPARE(GameMemoryLimit::largestGame(400 * MB, machine), 512 * MB);
        QCOMPARE(GameMemoryLimit::judge(600 * MB, machine), GameMemoryLimit::Exceeded::Reserve);
    }

    void judge_withoutTheMachinesFiguresHoldsEveryGameToAFixedBound() {
        const std::optional<MachineMemory> unknown;
        QCOMPARE(GameMemoryLimit::judge(1500 * MB, unknown), GameMemoryLimit::Exceeded::Nothing);
        QCOMPARE(GameMemoryLimit::judge(1600 * MB, unknown), GameMemoryLimit::Exceeded::FixedBound);
        QCOMPARE(GameMemoryLimit::largestGame(FreshPage, unknown), 1536 * MB);
    }

    void parse_takesTheTotalAndWhatIsAvailableAndNothingShort() {
        const auto machine = MachineMemory::parse(meminfo);
        QVERIFY(machine);
        QCOMPARE(machine->totalBytes, std::int64_t(8039892) << 10);
        QCOMPARE(machine->availableBytes, 5 * GB);
        // A kernel before 3.14 tells no MemAvailable; what it tells instead
        // is not a figure to judge by.
        QVERIFY(!MachineMemory::parse("MemTotal: 8039892 kB\nMemFree: 412300 kB\n"
                                      "MemAvailableSoon: 1 kB\n"));
        QVERIFY(!MachineMemory::parse(""));
        QVERIFY(!MachineMemory::parse("MemTotal: lots kB\nMemAvailable: 1 kB\n"));
        QVERIFY(!MachineMemory::parse("MemTotal: 8039892 MB\nMemAvailable: 1 MB\n"));
        QVERIFY(!MachineMemory::parse("MemTotal: 1000 kB\nMemAvailable: 2000 kB\n"));
        QVERIFY(!MachineMemory::parse("MemTotal: 99999999999999999999 kB\nMemAvailable: 1 kB\n"));
    }

    void read_tellsWhyTheMachinesFiguresCannotBeHad() {
        QTemporaryDir dir;
        const std::string folder = dir.path().toStdString();
        std::string why;
        QVERIFY(!MachineMemory::read(why, folder + "/missing"));
        QVERIFY2(why.find("/missing: No such file") != std::string::npos, why.c_str());
        why.clear();
        QVERIFY(!MachineMemory::read(why, folder));
        QVERIFY2(why.find("Is a directory") != std::string::npos, why.c_str());
        std::ofstream(folder + "/short") << "MemTotal: 8039892 kB\n";
        why.clear();
        QVERIFY(!MachineMemory::read(why, folder + "/short"));
        QVERIFY2(why.find("no MemTotal and MemAvailable") != std::string::npos, why.c_str());
        std::ofstream(folder + "/whole") << meminfo;
        QCOMPARE(MachineMemory::read(why, folder + "/whole")->availableBytes, 5 * GB);
        // This machine's own.
        const auto machine = MachineMemory::read(why);
        QVERIFY2(machine, why.c_str());
        QVERIFY(machine->availableBytes > 0 && machine->availableBytes <= machine->totalBytes);
    }
};

PELLIWICK_TEST_MAIN(GameMemoryLimitTest)
#include "GameMemoryLimitTest.moc"
