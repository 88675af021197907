#include "library/FileSystem.h"

#include "library/CaseFolding.h"
#include "support/Snapshot.h"
#include "support/TestMain.h"
#include "support/TreeBuilder.h"

#include <QTest>
#include <sys/stat.h>

Q_DECLARE_METATYPE(FileResult)
Q_DECLARE_METATYPE(FileSystem::Replace)

namespace {

std::vector<std::string> names(const std::vector<DirEntry>& entries) {
    std::vector<std::string> result;
    for (const DirEntry& e : entries)
        result.push_back(e.name);
    return result;
}

unsigned attributesOf(const std::vector<DirEntry>& entries, const std::string& name) {
    for (const DirEntry& e : entries)
        if (e.name == name)
            return e.attributes;
    return ~0u;
}

} // namespace

class FileSystemTest : public QObject {
    Q_OBJECT
private slots:
    void lower_foldsUnicodeAndKeepsBrokenBytes() {
        QCOMPARE(CaseFolding::lower("Tennis.SWF"), std::string("tennis.swf"));
        QCOMPARE(CaseFolding::lower("ÄRGER Ölfass ΣΟΦΊΑ"), std::string("ärger ölfass σοφία"));
        // Invalid UTF-8 (a lone Latin-1 byte, a cut sequence) passes through.
        QCOMPARE(CaseFolding::lower("CAF\xC9.SWF"), std::string("caf\xC9.swf"));
        QCOMPARE(CaseFolding::lower("X\xE2\x82"), std::string("x\xE2\x82"));
        QCOMPARE(CaseFolding::lower(""), std::string());
    }

    void enumerate_listsDotsFirstThenSortedWithoutRegardToCase() {
        TreeBuilder tree;
        for (const char* name : {"b.swf", "A.swf", "c.swf", "Ä.swf", "a.jpg"})
            tree.file(name);
        const auto entries = FileSystem::enumerate(tree.root());
        QVERIFY(entries);
        const std::vector<std::string> expected = {".",     "..",    "a.jpg", "A.swf",
                                                   "b.swf", "c.swf", "Ä.swf"};
        QCOMPARE(names(*entries), expected);
        QCOMPARE(entries->at(3).lowerName, std::string("a.swf"));
    }

    void enumerate_givesEachKindItsAttributeWord() {
        TreeBuilder tree;
        tree.folder("plain");
        tree.folder("readonly", 0555);
        tree.folder(".hidden");
        tree.file("game.swf");
        tree.file("locked.swf");
        chmod(tree.path("locked.swf").c_str(), 0444);
        tree.link("to-folder", "plain");
        tree.link("to-file", "game.swf");
        tree.link("dangling", "nowhere");
        mkfifo(tree.path("pipe").c_str(), 0644);
        const auto entries = FileSystem::enumerate(tree.root());
        QVERIFY(entries);
        QCOMPARE(attributesOf(*entries, "."), DirEntry::Directory);
        QCOMPARE(attributesOf(*entries, "plain"), DirEntry::Directory);
        QCOMPARE(attributesOf(*entries, "readonly"), DirEntry::Directory | DirEntry::ReadOnly);
        QCOMPARE(attributesOf(*entries, ".hidden"), DirEntry::Directory | DirEntry::Hidden);
        QCOMPARE(attributesOf(*entries, "game.swf"), 0u);
        QCOMPARE(attributesOf(*entries, "locked.swf"), DirEntry::ReadOnly);
        QCOMPARE(attributesOf(*entries, "to-folder"), DirEntry::Directory | DirEntry::Special);
        QCOMPARE(attributesOf(*entries, "to-file"), DirEntry::Special);
        QCOMPARE(attributesOf(*entries, "dangling"), DirEntry::Special);
        QCOMPARE(attributesOf(*entries, "pipe"), DirEntry::Special);

        // Without the look-up per file: folders keep their whole word, files
        // and links only their kind.
        const auto light = FileSystem::enumerate(tree.root(), FileSystem::Links::Follow,
                                                 FileSystem::Attributes::FoldersOnly);
        QVERIFY(light);
        QCOMPARE(attributesOf(*light, "readonly"), DirEntry::Directory | DirEntry::ReadOnly);
        QCOMPARE(attributesOf(*light, ".hidden"), DirEntry::Directory | DirEntry::Hidden);
        QCOMPARE(attributesOf(*light, "plain"), DirEntry::Directory);
        QCOMPARE(attributesOf(*light, "locked.swf"), 0u);
        QCOMPARE(attributesOf(*light, "to-folder"), DirEntry::Special);
        QCOMPARE(attributesOf(*light, "pipe"), DirEntry::Special);
    }

    void enumerate_whatCannotBeOpenedGivesNothing() {
        TreeBuilder tree;
        tree.folder("real");
        tree.link("link", "real");
        tree.file("file.swf");
        QVERIFY(!FileSystem::enumerate(tree.path("missing")));
        QVERIFY(!FileSystem::enumerate(tree.path("file.swf")));
        QVERIFY(FileSystem::enumerate(tree.path("link"), FileSystem::Links::Follow));
        QVERIFY(!FileSystem::enumerate(tree.path("link"), FileSystem::Links::DoNotFollow));
        QVERIFY(!FileSystem::enumerate(tree.root() + "/" + std::string(5000, 'x')));
    }

    void resolve_prefersExactNameThenFirstMatchIgnoringCase() {
        TreeBuilder tree;
        tree.folder("Action");
        tree.file("Action/Tennis.SWF");
        tree.file("Action/game.swf");
        tree.file("Action/Game.swf");
        QCOMPARE(FileSystem::resolve(tree.path("action/tennis.swf")),
                 tree.path("Action/Tennis.SWF"));
        QCOMPARE(FileSystem::resolve(tree.path("ACTION/game.swf")), tree.path("Action/game.swf"));
        QCOMPARE(FileSystem::resolve(tree.path("Action/Game.swf")), tree.path("Action/Game.swf"));
        // Both differ in case only: the first in the folder's order wins.
        QCOMPARE(FileSystem::resolve(tree.path("action/GAME.SWF")), tree.path("Action/Game.swf"));
        // What matches nothing stays as written, so a new name can be made.
        QCOMPARE(FileSystem::resolve(tree.path("action/New.swf")), tree.path("Action/New.swf"));
        QCOMPARE(FileSystem::resolve(tree.path("Missing/x.swf")), tree.path("Missing/x.swf"));
    }

    void openInside_servesOnlyPlainFilesWhoseRealPlaceIsInside() {
        TreeBuilder tree;
        tree.folder("games");
        tree.folder("games/levels");
        tree.file("games/Tennis.SWF", "movie");
        tree.file("games/levels/one.swf", "level");
        tree.file("secret.txt", "secret");
        tree.folder("games-evil");
        tree.file("games-evil/x.swf");
        tree.link("games/out.swf", "../secret.txt");
        tree.link("games/in.swf", "Tennis.SWF");
        tree.link("games/up", "..");
        mkfifo(tree.path("games/pipe.swf").c_str(), 0644);
        const std::string games = tree.path("games");
        const auto opens = [&](const std::string& path) {
            const int fd = FileSystem::openInside(games, path);
            if (fd >= 0)
                close(fd);
            return fd >= 0;
        };
        QVERIFY(opens(games + "/Tennis.SWF"));
        QVERIFY(opens(games + "/tennis.swf")); // the name as listed
        QVERIFY(opens(games + "/levels/one.swf"));
        QVERIFY(opens(games + "/in.swf"));
        QVERIFY(opens(games + "/./levels/../Tennis.SWF"));
        QVERIFY(!opens(games + "/../secret.txt"));
        QVERIFY(!opens(games + "/out.swf"));
        QVERIFY(!opens(games + "/up/secret.txt"));
        QVERIFY(!opens(tree.path("games-evil/x.swf"))); // shares the prefix only
        QVERIFY(!opens("/etc/passwd"));
        QVERIFY(!opens(games + "/levels"));
        QVERIFY(!opens(games + "/pipe.swf")); // and returns at once
        QVERIFY(!opens(games + "/missing.swf"));
        QVERIFY(FileSystem::openInside(tree.path("nowhere"), games + "/Tennis.SWF") < 0);

        const int fd = FileSystem::openInside(games, games + "/tennis.swf");
        char buffer[16] = {};
        QCOMPARE(read(fd, buffer, sizeof buffer), ssize_t(5));
        QCOMPARE(QByteArray(buffer), QByteArray("movie"));
        close(fd);
    }

    // A game in a subfolder of its category reads from its own folder only
    // while that folder is where its names put it below the category, which
    // may itself be a link or differ in case; a folder of the way swapped
    // for a link, to outside or inside, leads nowhere.
    void openInside_belowARoot_refusesAFolderSwappedForALink() {
        TreeBuilder tree;
        tree.folder("disk");
        tree.folder("disk/Pack");
        tree.folder("disk/Pack/Twin");
        tree.file("disk/Pack/Twin/pong.swf", "pong");
        tree.file("disk/Pack/Twin/level.swf", "level");
        tree.file("disk/Pack/above.swf", "above");
        tree.folder("elsewhere");
        tree.file("elsewhere/pong.swf", "outside");
        tree.link("ACTION", "disk");
        const std::string root = tree.path("Action"); // as the category names it
        const std::string folder = root + "/Pack/Twin";
        const auto opens = [&](const std::string& path) {
            const int fd = FileSystem::openInside(folder, path, root);
            if (fd >= 0)
                close(fd);
            return fd >= 0;
        };
        QVERIFY(opens(folder + "/pong.swf"));
        QVERIFY(opens(folder + "/LEVEL.swf"));
        QVERIFY(!opens(folder + "/../above.swf"));
        QVERIFY(FileSystem::openInside(folder, folder + "/pong.swf", tree.path("disk/Pa")) < 0);

        rename(tree.path("disk/Pack/Twin").c_str(), tree.path("Twin").c_str());
        tree.link("disk/Pack/Twin", tree.path("elsewhere"));
        QVERIFY(!opens(folder + "/pong.swf"));
        // Without the root, the folder is its own: the link is the way to it.
        QVERIFY(FileSystem::openInside(folder, folder + "/pong.swf") >= 0);
        unlink(tree.path("disk/Pack/Twin").c_str());
        tree.link("disk/Pack/Twin", "../Pack");
        QVERIFY(!opens(folder + "/above.swf"));
        unlink(tree.path("disk/Pack/Twin").c_str());
        rename(tree.path("Twin").c_str(), tree.path("disk/Pack/TWIN").c_str());
        QVERIFY(!opens(folder + "/pong.swf"));
    }

    // A file the user picks to bring in is read whole only when it is a
    // plain file within the size given: never through a link, never waiting
    // on a pipe, never a folder or a device.
    void readSmall_takesOnlyWholePlainFilesWithinTheSize() {
        TreeBuilder tree;
        tree.file("save.sol", "twelve bytes");
        tree.file("big.sol", std::string(13, 'x'));
        tree.folder("folder.sol");
        tree.link("link.sol", tree.path("save.sol"));
        mkfifo(tree.path("pipe.sol").c_str(), 0644);
        std::string bytes;
        QCOMPARE(FileSystem::readSmall(tree.path("save.sol"), 12, bytes), FileResult::Done);
        QCOMPARE(bytes, std::string("twelve bytes"));
        for (const auto& [file, result] : std::vector<std::pair<std::string, FileResult>>{
                 {"big.sol", FileResult::TooLarge},
                 {"folder.sol", FileResult::NotAFile},
                 {"link.sol", FileResult::NotAFile},
                 {"pipe.sol", FileResult::NotAFile},
                 {"/dev/zero", FileResult::NotAFile},
                 {"gone.sol", FileResult::SourceMissing}}) {
            bytes = "left over";
            QCOMPARE(
                FileSystem::readSmall(file.starts_with('/') ? file : tree.path(file), 12, bytes),
                result);
        }
    }

    void under_takesDotsAwayAsWrittenAndNeverLeavesTheFolder_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("named"); // empty: outside
        QTest::newRow("a file") << "/g/a/x.swf"
                                << "/g/a/x.swf";
        QTest::newRow("dots inside") << "/g/a/./b/../x.swf"
                                     << "/g/a/x.swf";
        QTest::newRow("doubled slashes") << "/g/a//b///x.swf"
                                         << "/g/a/b/x.swf";
        QTest::newRow("up and out") << "/g/a/../x.swf"
                                    << "";
        QTest::newRow("down, then out") << "/g/a/b/../../a/x.swf"
                                        << "";
        QTest::newRow("the prefix only") << "/g/ab/x.swf"
                                         << "";
        QTest::newRow("elsewhere") << "/etc/passwd"
                                   << "";
        QTest::newRow("relative") << "g/a/x.swf"
                                  << "";
    }
    void under_takesDotsAwayAsWrittenAndNeverLeavesTheFolder() {
        QFETCH(QString, path);
        QFETCH(QString, named);
        const auto result = FileSystem::under("/g/a", path.toStdString());
        QCOMPARE(result ? QString::fromStdString(*result) : QString(), named);
    }

    // The one whole write of the file layer, beneath the copy, the saves and
    // the movies the tools write; a copy's failures are the commands' tests.
    void writeWhole_replacesOnlyWhenAskedAndLeavesNothingElse_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<FileSystem::Replace>("replace");
        QTest::addColumn<FileResult>("result");
        QTest::newRow("a new name")
            << "games/new.swf" << FileSystem::Replace::Never << FileResult::Done;
        QTest::newRow("a name taken")
            << "games/old.swf" << FileSystem::Replace::Never << FileResult::TargetExists;
        QTest::newRow("a name taken, to replace")
            << "games/old.swf" << FileSystem::Replace::Existing << FileResult::Done;
        QTest::newRow("no folder")
            << "missing/new.swf" << FileSystem::Replace::Existing << FileResult::FolderMissing;
    }
    void writeWhole_replacesOnlyWhenAskedAndLeavesNothingElse() {
        QFETCH(QString, target);
        QFETCH(FileSystem::Replace, replace);
        QFETCH(FileResult, result);
        TreeBuilder tree;
        tree.folder("games");
        tree.file("games/old.swf", "old");
        Snapshot expected = snapshot(tree.root());
        const std::string path = tree.path(target.toStdString());
        QCOMPARE(FileSystem::writeWhole(path, "new", replace), result);
        if (result == FileResult::Done)
            expected[target.toStdString()] = "new";
        QCOMPARE(snapshot(tree.root()), expected);
        // Without a mode of its own, the file is made as any new file is.
        const mode_t mask = umask(0);
        umask(mask);
        struct stat st;
        QVERIFY(result != FileResult::Done ||
                (stat(path.c_str(), &st) == 0 && (st.st_mode & 0777) == (0666 & ~mask)));
    }

    void executablePath_namesThisProgram() {
        const std::string path = FileSystem::executablePath();
        QVERIFY(path.starts_with('/'));
        QVERIFY(path.ends_with("/FileSystemTest"));
    }
};

PELLIWICK_TEST_MAIN(FileSystemTest)
#include "FileSystemTest.moc"
