// A game's player settings (the quality and volume set in the player's
// menu) on real folders: read back as written, kept beside the game's saves
// where no game can open them and no budget counts them, following the game
// when it moves, nothing kept for defaults, and anything not written here
// read as the defaults, with the reason.
#include "library/PlayerSettingsFile.h"
#include "support/TestMain.h"
#include "support/TreeBuilder.h"

#include <QTest>
#include <sys/stat.h>

namespace {

const std::string Pong = "localhost/home/u/Action/pong.swf";
const std::string Golf = "localhost/home/u/Sport/golf.swf";
const std::string PongFolder = "localhost/home/u/Action/pong.swf";

PlayerSettings quietLow() {
    PlayerSettings settings;
    settings.quality = PlayerSettings::Quality::Low;
    settings.volume = 30;
    return settings;
}

// The settings as they read, "defaults" for the defaults.
QString shown(const PlayerSettings& settings) {
    return settings.isDefault() ? QStringLiteral("defaults")
                                : QString::fromStdString(settings.text()).trimmed();
}

QString parsed(std::string_view text) {
    const std::optional<PlayerSettings> settings = PlayerSettings::parse(text);
    return settings ? shown(*settings) : QStringLiteral("refused");
}

} // namespace

class PlayerSettingsTest : public QObject {
    Q_OBJECT
private slots:
    void text_readsBackAsWritten_eachSettingOnlyWhenSet() {
        PlayerSettings settings;
        QCOMPARE(settings.text(), std::string());
        QCOMPARE(parsed(""), "defaults");
        for (const auto quality : {PlayerSettings::Quality::Low, PlayerSettings::Quality::Medium,
                                   PlayerSettings::Quality::High}) {
            settings.quality = quality;
            QCOMPARE(parsed(settings.text()), shown(settings));
        }
        QCOMPARE(shown(settings), "quality=high");
        // Silence is a volume as any other; the sound off keeps the volume
        // it comes back at.
        settings.volume = 0;
        settings.muted = true;
        QCOMPARE(settings.text(), "quality=high\nvolume=0\nmuted=yes\n");
        QCOMPARE(parsed(settings.text()), shown(settings));
        PlayerSettings mutedOnly;
        mutedOnly.muted = true;
        QCOMPARE(mutedOnly.text(), "muted=yes\n");
        QVERIFY(!mutedOnly.isDefault());
    }

    void parse_refusesWhatWasNotWrittenHere_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("unknown setting") << QByteArray("zoom=2\n");
        QTest::newRow("unknown quality") << QByteArray("quality=best\n");
        QTest::newRow("quality in capitals") << QByteArray("quality=LOW\n");
        QTest::newRow("volume above the scale") << QByteArray("volume=101\n");
        QTest::newRow("volume below it") << QByteArray("volume=-1\n");
        QTest::newRow("volume not a number") << QByteArray("volume=4x\n");
        QTest::newRow("volume empty") << QByteArray("volume=\n");
        QTest::newRow("volume past any int") << QByteArray("volume=99999999999999999999\n");
        QTest::newRow("muted other than yes") << QByteArray("muted=1\n");
        QTest::newRow("a setting twice") << QByteArray("volume=20\nvolume=30\n");
        QTest::newRow("cut short") << QByteArray("quality=low\nvolume=3");
        QTest::newRow("no equals sign") << QByteArray("quality low\n");
        QTest::newRow("blank line") << QByteArray("quality=low\n\n");
        QTest::newRow("carriage return") << QByteArray("quality=low\r\n");
        QTest::newRow("spaces") << QByteArray("quality = low\n");
        QTest::newRow("a nul") << QByteArray("quality=low\n\0\n", 14);
    }
    void parse_refusesWhatWasNotWrittenHere() {
        QFETCH(QByteArray, text);
        QCOMPARE(parsed(std::string_view(text.constData(), text.size())), "refused");
    }

    void file_keptHiddenBesideTheSaves_outOfGamesReachAndBudgets() {
        TreeBuilder tree;
        const SaveStore store(tree.root());
        const PlayerSettingsFile file(store);
        // Never set: nothing kept, nothing to report.
        QCOMPARE(shown(file.read(Pong).settings), "defaults");
        QCOMPARE(file.read(Pong).problem, std::string());

        QCOMPARE(file.write(Pong, quietLow()), SaveResult::Done);
        const std::string path = tree.path(PongFolder + "/.player-settings");
        struct stat st;
        QCOMPARE(stat(path.c_str(), &st), 0);
        QCOMPARE(st.st_mode & 0777, 0600u);
        QCOMPARE(shown(file.read(Pong).settings), shown(quietLow()));
        QCOMPARE(file.read(Pong).problem, std::string());
        // Another game's settings are its own.
        QCOMPARE(shown(file.read(Golf).settings), "defaults");

        // No game names it as a save, and no count reads it.
        QVERIFY(!SaveStore::placeFor(Pong, Pong + "/.player-settings"));
        QVERIFY(!SaveStore::placeFor(Pong, Pong + "/.player-settings.sol"));
        QCOMPARE(store.countShelf("home/u/Action/pong.swf").bytes, std::uint64_t(0));
        QCOMPARE(store.countAll().bytes, std::uint64_t(0));

        // Rewritten whole, and taken away once back at the defaults.
        PlayerSettings louder = quietLow();
        louder.volume = 80;
        QCOMPARE(file.write(Pong, louder), SaveResult::Done);
        QCOMPARE(shown(file.read(Pong).settings), shown(louder));
        QCOMPARE(file.write(Pong, PlayerSettings()), SaveResult::Done);
        QCOMPARE(stat(path.c_str(), &st), -1);
        QCOMPARE(shown(file.read(Pong).settings), "defaults");
        // Defaults for a game that never had settings write nothing at all.
        QCOMPARE(file.write(Golf, PlayerSettings()), SaveResult::Done);
        QCOMPARE(stat(tree.path("localhost/home/u/Sport").c_str(), &st), -1);
    }

    void file_followsTheGameWithItsSaves() {
        TreeBuilder tree;
        const SaveStore store(tree.root());
        const PlayerSettingsFile file(store);
        // A game without saves of its own: its settings alone make its folder.
        QCOMPARE(file.write(Pong, quietLow()), SaveResult::Done);
        const std::string moved = "localhost/home/u/Sport/pong.swf";
        QCOMPARE(store.moveGame(Pong, moved), SaveResult::Done);
        QCOMPARE(shown(file.read(moved).settings), shown(quietLow()));
        QCOMPARE(shown(file.read(Pong).settings), "defaults");
        // Onto a name that has settings already: each game keeps its own.
        PlayerSettings golf;
        golf.muted = true;
        QCOMPARE(file.write(Golf, golf), SaveResult::Done);
        QCOMPARE(store.moveGame(moved, Golf), SaveResult::TargetExists);
        QCOMPARE(shown(file.read(Golf).settings), "muted=yes");
        QCOMPARE(shown(file.read(moved).settings), shown(quietLow()));
    }

    void file_notWrittenHere_readsAsDefaultsWithTheReason_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("problem");
        QTest::newRow("damaged") << "damaged"
                                 << "damaged";
        QTest::newRow("larger than settings are") << "large"
                                                  << "too large";
        QTest::newRow("a folder") << "folder"
                                  << "not a plain file";
        QTest::newRow("a link to settings") << "link"
                                            << "not a plain file";
        QTest::newRow("a pipe that nothing writes") << "pipe"
                                                    << "not a plain file";
    }
    void file_notWrittenHere_readsAsDefaultsWithTheReason() {
        QFETCH(QString, kind);
        QFETCH(QString, problem);
        TreeBuilder tree;
        const SaveStore store(tree.root());
        const PlayerSettingsFile file(store);
        QCOMPARE(file.write(Golf, quietLow()), SaveResult::Done);
        QCOMPARE(file.write(Pong, quietLow()), SaveResult::Done);
        const std::string relative = PongFolder + "/.player-settings";
        const std::string path = tree.path(relative);
        unlink(path.c_str());
        if (kind == "damaged")
            tree.file(relative, "quality=low\nvolume=300\n");
        else if (kind == "large")
            tree.file(relative, quietLow().text() + std::string(PlayerSettingsFile::MaxBytes, '#'));
        else if (kind == "folder")
            tree.folder(relative);
        else if (kind == "link")
            tree.link(relative, tree.path("localhost/home/u/Sport/golf.swf/.player-settings"));
        else
            QCOMPARE(mkfifo(path.c_str(), 0600), 0);

        const PlayerSettingsFile::Reading reading = file.read(Pong);
        QCOMPARE(shown(reading.settings), "defaults");
        QCOMPARE(QString::fromStdString(reading.problem), problem);
        // The user's next change is kept all the same, in place of what was
        // there, short of a folder, which stays.
        const SaveResult written = file.write(Pong, quietLow());
        if (kind == "folder") {
            QCOMPARE(written, SaveResult::Failed);
        } else {
            QCOMPARE(written, SaveResult::Done);
            QCOMPARE(shown(file.read(Pong).settings), shown(quietLow()));
        }
    }

    void file_inAStoreThatCannotHoldIt_failsAndReadsAsDefaults() {
        TreeBuilder tree;
        tree.file("store");
        const SaveStore store(tree.path("store"));
        const PlayerSettingsFile file(store);
        QCOMPARE(file.write(Pong, quietLow()), SaveResult::Failed);
        QCOMPARE(shown(file.read(Pong).settings), "defaults");
        QCOMPARE(file.read(Pong).problem, std::string());
        // A key the store does not file has no folder to keep them in.
        QCOMPARE(file.write("localhost/", quietLow()), SaveResult::NotTheGames);
        QCOMPARE(file.write("localhost/home/../etc", quietLow()), SaveResult::NotTheGames);
    }
};

PELLIWICK_TEST_MAIN(PlayerSettingsTest)
#include "PlayerSettingsTest.moc"
