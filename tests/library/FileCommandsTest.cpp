// Copy, move and delete against real folders: each works, and each failure
// leaves every folder exactly as it was.
#include "library/FileSystem.h"
#include "library/GameFile.h"
#include "support/OrdinaryUser.h"
#include "support/Snapshot.h"
#include "support/TestMain.h"
#include "support/TreeBuilder.h"

#include <QTest>
#include <filesystem>

namespace fs = std::filesystem;

Q_DECLARE_METATYPE(FileResult)

namespace {

std::string content(const std::string& path) {
    const Snapshot one = snapshot(fs::path(path).parent_path());
    const auto found = one.find(fs::path(path).filename().string());
    return found == one.end() ? "<missing>" : found->second;
}

// What a file command gives an ordinary user, as text that says what came.
QString resultAsUser(const std::function<FileResult()>& command) {
    const std::optional<std::string> out =
        asOrdinaryUser([&] { return std::to_string(int(command())); });
    return out ? QString::fromStdString(*out) : QStringLiteral("<child failed>");
}
QString expected(FileResult result) {
    return QString::number(int(result));
}

} // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void plainName_refusesWhatLeadsOutOfTheFolder_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("plain");
        QTest::newRow("game") << "space war" << true;
        QTest::newRow("dots inside") << "v1..2" << true;
        QTest::newRow("three dots") << "..." << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("dot") << "." << false;
        QTest::newRow("dot dot") << ".." << false;
        QTest::newRow("up") << "../../x" << false;
        QTest::newRow("down") << "sub/x" << false;
        QTest::newRow("absolute") << "/tmp/x" << false;
        QTest::newRow("nul") << QString("a") + QChar(0) + "b" << false;
    }
    void plainName_refusesWhatLeadsOutOfTheFolder() {
        QFETCH(QString, name);
        QFETCH(bool, plain);
        const GameFile game = GameFile::ofEntry("/g/Sport", {name.toStdString(), {}});
        QCOMPARE(game.isPlain(), plain);
        QCOMPARE(game.entry(), name.toStdString());
        QCOMPARE(game.renamed(name.toStdString()).isPlain(), plain);
    }

    // An entry stands for the file it was listed from: its name and ".swf"
    // in its folder within the category, which stays the game's category.
    // Renamed, it stays in that folder; moved, it goes to the top of the
    // other category. What the list holds for it comes back whole.
    void entry_standsForTheFileInItsOwnFolder_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("folder");
        QTest::addColumn<QByteArray>("path");
        QTest::newRow("top") << QByteArray("tennis") << QByteArray()
                             << QByteArray("/g/Action/tennis.swf");
        QTest::newRow("subfolder") << QByteArray("hidden path") << QByteArray("Puzzles")
                                   << QByteArray("/g/Action/Puzzles/hidden path.swf");
        QTest::newRow("deep, odd bytes") << QByteArray("caf\xe9") << QByteArray("A/B c/$(x) & \xff")
                                         << QByteArray("/g/Action/A/B c/$(x) & \xff/caf\xe9.swf");
    }
    void entry_standsForTheFileInItsOwnFolder() {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, folder);
        QFETCH(QByteArray, path);
        const GameEntry entry{name.toStdString(), folder.toStdString()};
        const GameFile game = GameFile::ofEntry("/g/Action", entry);
        QCOMPARE(game.path(), path.toStdString());
        QCOMPARE(game.category(), std::string("/g/Action"));
        QCOMPARE(game.listEntry(), entry);
        QCOMPARE(game.movieUrl(), "file://" + path.toStdString());

        const GameFile renamed = game.renamed("Other");
        QCOMPARE(renamed.folder(), game.folder());
        QCOMPARE(renamed.category(), game.category());
        QCOMPARE(renamed.listEntry(), (GameEntry{"Other", folder.toStdString()}));

        const GameFile moved = game.movedTo("/g/Sport");
        QCOMPARE(moved.path(), "/g/Sport/" + name.toStdString() + ".swf");
        QCOMPARE(moved.category(), std::string("/g/Sport"));
        QCOMPARE(moved.listEntry(), (GameEntry{name.toStdString(), {}}));
    }

    // Twins of one name in different folders are different games, with
    // saves of their own; a game at the top keeps the key it always had.
    void twinsInDifferentFolders_areDifferentGamesWithSavesOfTheirOwn() {
        const GameFile top = GameFile::ofEntry("/g/Action", {"apple", {}});
        const GameFile twin = GameFile::ofEntry("/g/Action", {"apple", "Twin"});
        QVERIFY(!(top == twin));
        QCOMPARE(top.savesKey(), std::string("localhost/g/Action/apple.swf"));
        QCOMPARE(twin.savesKey(), std::string("localhost/g/Action/Twin/apple.swf"));
        QCOMPARE(twin.pageFolderUrl(), std::string("file:///g/Action/Twin/"));
    }

    // A game added, renamed or moved keeps the letter case typed, and a
    // listing shows it in lower case: the page's address and the saves' key
    // are the same either way, so a game finds its saves at the next start.
    void addressAndSavesKey_areTheListingsWhateverCaseTheCommandsGave() {
        const GameFile listed = GameFile::ofEntry("/g/Action", {"tennis court", "Pack"});
        const GameFile renamed = listed.renamed("Tennis Court");
        const GameFile added = GameFile::ofPath("/p/TENNIS COURT.SWF").movedTo("/g/Action");
        const GameFile listedAtTop = GameFile::ofEntry("/g/Action", {"tennis court", {}});
        QCOMPARE(renamed.path(), std::string("/g/Action/Pack/Tennis Court.swf"));
        QCOMPARE(renamed.movieUrl(), std::string("file:///g/Action/Pack/Tennis Court.swf"));
        QCOMPARE(renamed.savesKey(), listed.savesKey());
        QCOMPARE(renamed.pageUrl(), listed.pageUrl());
        QCOMPARE(listed.pageUrl(), std::string("file:///g/Action/Pack/tennis court.swf"));
        QCOMPARE(added.savesKey(), listedAtTop.savesKey());
        QCOMPARE(added.pageUrl(), listedAtTop.pageUrl());
    }

    void gameExtension_isSwfInAnyLetterCase() {
        QVERIFY(GameFile::ofPath("/p/Tennis.swf").hasGameExtension());
        QVERIFY(GameFile::ofPath("/p/TENNIS.SwF").hasGameExtension());
        QVERIFY(!GameFile::ofPath("/p/.swf").hasGameExtension());
        QVERIFY(!GameFile::ofPath("/p/tennis.swf.txt").hasGameExtension());
        QVERIFY(!GameFile::ofPath("/p.swf/tennis.jpg").hasGameExtension());
    }

    // The player takes its Movie apart into the game that ListBox1Click put
    // together, whatever the name's bytes; the page is given an address no
    // URL parser misreads.
    void movieUrl_takenApartIsTheSameGame_data() {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QByteArray>("pageUrl");
        QTest::newRow("plain") << QByteArray("/g/Action/pong.swf")
                               << QByteArray("file:///g/Action/pong.swf");
        // The page's address names the file in lower case, as the listing does.
        QTest::newRow("Latin-1") << QByteArray("/g/Pok\xe9mon.swf")
                                 << QByteArray("file:///g/pok%E9mon.swf");
        QTest::newRow("hash, hidden folder")
            << QByteArray("/h/.local/no#1.swf") << QByteArray("file:///h/%2Elocal/no%231.swf");
    }
    void movieUrl_takenApartIsTheSameGame() {
        QFETCH(QByteArray, path);
        QFETCH(QByteArray, pageUrl);
        const GameFile game = GameFile::ofPath(path.toStdString());
        QCOMPARE(game.movieUrl(), "file://" + path.toStdString());
        QCOMPARE(GameFile::ofMovieUrl(game.movieUrl()), std::optional(game));
        QCOMPARE(game.pageUrl(), pageUrl.toStdString());
        QCOMPARE(game.pageFolderUrl(), pageUrl.left(pageUrl.lastIndexOf('/') + 1).toStdString());
        QVERIFY(!GameFile::ofMovieUrl("http://h/x.swf"));
        QVERIFY(!GameFile::ofMovieUrl("file://x.swf"));
        QVERIFY(!GameFile::ofMovieUrl("x.swf"));
    }

    void copy_makesACompleteCopyUnderTheNewName() {
        TreeBuilder tree;
        tree.folder("Action");
        tree.file("Tennis.swf", "movie data");
        chmod(tree.path("Tennis.swf").c_str(), 0640);
        QCOMPARE(FileSystem::checkCopyNew(tree.path("Tennis.swf"), tree.path("Action/Tennis.swf")),
                 FileResult::Done);
        QCOMPARE(FileSystem::copyNew(tree.path("Tennis.swf"), tree.path("Action/Tennis.swf")),
                 FileResult::Done);
        QCOMPARE(snapshot(tree.path("Action")), (Snapshot{{"Tennis.swf", "movie data"}}));
        QCOMPARE(content(tree.path("Tennis.swf")), std::string("movie data"));
        struct stat st;
        QCOMPARE(stat(tree.path("Action/Tennis.swf").c_str(), &st), 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0640));
    }

    void copy_failuresLeaveEverythingAsItWas_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("target");
        QTest::addColumn<FileResult>("result");
        QTest::newRow("same name") << "new.swf"
                                   << "Action/old.swf" << FileResult::TargetExists;
        QTest::newRow("other case") << "new.swf"
                                    << "Action/OLD.SWF" << FileResult::TargetExists;
        QTest::newRow("the very file") << "Action/old.swf"
                                       << "Action/old.swf" << FileResult::TargetExists;
        QTest::newRow("no source") << "typed.swf"
                                   << "Action/typed.swf" << FileResult::SourceMissing;
        QTest::newRow("no folder") << "new.swf"
                                   << "Board/new.swf" << FileResult::FolderMissing;
        QTest::newRow("a folder") << "Action"
                                  << "Action/x.swf" << FileResult::NotAFile;
    }
    void copy_failuresLeaveEverythingAsItWas() {
        QFETCH(QString, source);
        QFETCH(QString, target);
        QFETCH(FileResult, result);
        TreeBuilder tree;
        tree.folder("Action");
        tree.file("Action/old.swf", "old");
        tree.file("new.swf", "new");
        const Snapshot before = snapshot(tree.root());
        // Asked first, the check foresees the copy's answer.
        QCOMPARE(FileSystem::checkCopyNew(tree.path(source.toStdString()),
                                          tree.path(target.toStdString())),
                 result);
        QCOMPARE(
            FileSystem::copyNew(tree.path(source.toStdString()), tree.path(target.toStdString())),
            result);
        QCOMPARE(snapshot(tree.root()), before);
    }

    void copy_intoAReadOnlyFolderIsRefused() {
        TreeBuilder tree;
        tree.folder("Action", 0555);
        tree.file("new.swf", "new");
        const Snapshot before = snapshot(tree.root());
        QCOMPARE(resultAsUser([&] {
                     return FileSystem::copyNew(tree.path("new.swf"), tree.path("Action/new.swf"));
                 }),
                 expected(FileResult::NotPermitted));
        QCOMPARE(snapshot(tree.root()), before);
    }

    void move_renamesAndChangesLetterCase() {
        TreeBuilder tree;
        tree.folder("Action");
        tree.folder("Sport");
        tree.file("Action/tennis.swf", "t");
        tree.file("Action/tennis.jpg", "picture");
        QCOMPARE(FileSystem::moveNoReplace(tree.path("Action/tennis.swf"),
                                           tree.path("Action/Tennis.swf")),
                 FileResult::Done);
        QCOMPARE(snapshot(tree.path("Action")),
                 (Snapshot{{"Tennis.swf", "t"}, {"tennis.jpg", "picture"}}));
        // Found by its listed name, moved under the name given.
        QCOMPARE(FileSystem::moveNoReplace(tree.path("Action/tennis.swf"),
                                           tree.path("Sport/tennis.swf")),
                 FileResult::Done);
        QCOMPARE(snapshot(tree.path("Action")), (Snapshot{{"tennis.jpg", "picture"}}));
        QCOMPARE(snapshot(tree.path("Sport")), (Snapshot{{"tennis.swf", "t"}}));
    }

    void move_failuresLeaveEverythingAsItWas_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("target");
        QTest::addColumn<FileResult>("result");
        QTest::newRow("name taken") << "Action/a.swf"
                                    << "Sport/b.swf" << FileResult::TargetExists;
        QTest::newRow("taken in other case") << "Action/a.swf"
                                             << "Sport/B.SWF" << FileResult::TargetExists;
        QTest::newRow("rename onto another") << "Action/a.swf"
                                             << "Action/C.swf" << FileResult::TargetExists;
        QTest::newRow("onto itself") << "Action/a.swf"
                                     << "Action/a.swf" << FileResult::TargetExists;
        QTest::newRow("no source") << "Action/z.swf"
                                   << "Sport/z.swf" << FileResult::SourceMissing;
        QTest::newRow("no folder") << "Action/a.swf"
                                   << "Board/a.swf" << FileResult::FolderMissing;
        QTest::newRow("a folder") << "Action/d.swf"
                                  << "Sport/d.swf" << FileResult::NotAFile;
    }
    void move_failuresLeaveEverythingAsItWas() {
        QFETCH(QString, source);
        QFETCH(QString, target);
        QFETCH(FileResult, result);
        TreeBuilder tree;
        tree.folder("Action");
        tree.folder("Sport");
        tree.folder("Action/d.swf");
        tree.file("Action/a.swf", "a");
        tree.file("Action/c.swf", "c");
        tree.file("Sport/b.swf", "b");
        const Snapshot before = snapshot(tree.root());
        QCOMPARE(FileSystem::moveNoReplace(tree.path(source.toStdString()),
                                           tree.path(target.toStdString())),
                 result);
        QCOMPARE(snapshot(tree.root()), before);
    }

    void move_outOfOrIntoAReadOnlyFolderIsRefused() {
        TreeBuilder tree;
        tree.folder("Locked");
        tree.folder("Sport");
        tree.file("Locked/a.swf", "a");
        tree.file("Sport/b.swf", "b");
        chmod(tree.path("Locked").c_str(), 0555);
        const Snapshot before = snapshot(tree.root());
        QCOMPARE(resultAsUser([&] {
                     return FileSystem::moveNoReplace(tree.path("Locked/a.swf"),
                                                      tree.path("Sport/a.swf"));
                 }),
                 expected(FileResult::NotPermitted));
        QCOMPARE(resultAsUser([&] {
                     return FileSystem::moveNoReplace(tree.path("Sport/b.swf"),
                                                      tree.path("Locked/b.swf"));
                 }),
                 expected(FileResult::NotPermitted));
        QCOMPARE(snapshot(tree.root()), before);
    }

    void move_toAnotherFileSystemCopiesThenRemoves() {
        TreeBuilder tree;
        tree.file("game.swf", "game");
        QTemporaryDir elsewhere(QStringLiteral("/dev/shm/pelliwick-test-XXXXXX"));
        QVERIFY(elsewhere.isValid());
        const std::string target = elsewhere.path().toStdString() + "/game.swf";
        QCOMPARE(FileSystem::moveNoReplace(tree.path("game.swf"), target), FileResult::Done);
        QCOMPARE(snapshot(tree.root()), Snapshot{});
        QCOMPARE(snapshot(elsewhere.path().toStdString()), (Snapshot{{"game.swf", "game"}}));
    }

    void move_toAnotherFileSystemFailsWhole() {
        TreeBuilder tree;
        tree.folder("Locked");
        tree.file("Locked/game.swf", "game");
        chmod(tree.path("Locked").c_str(), 0555);
        QTemporaryDir elsewhere(QStringLiteral("/dev/shm/pelliwick-test-XXXXXX"));
        chmod(elsewhere.path().toLocal8Bit().constData(), 0777);
        const std::string target = elsewhere.path().toStdString();
        const Snapshot before = snapshot(tree.root());
        // The copy is made, the source cannot go: the copy goes again.
        QCOMPARE(resultAsUser([&] {
                     return FileSystem::moveNoReplace(tree.path("Locked/game.swf"),
                                                      target + "/game.swf");
                 }),
                 expected(FileResult::NotPermitted));
        QCOMPARE(snapshot(target), Snapshot{});
        QCOMPARE(snapshot(tree.root()), before);
    }

    void delete_removesTheFileFoundByItsListedName() {
        TreeBuilder tree;
        tree.file("Tennis.SWF", "t");
        tree.file("tennis.jpg", "picture");
        QCOMPARE(FileSystem::remove(tree.path("tennis.swf")), FileResult::Done);
        QCOMPARE(snapshot(tree.root()), (Snapshot{{"tennis.jpg", "picture"}}));
    }

    void delete_failuresLeaveEverythingAsItWas() {
        TreeBuilder tree;
        tree.folder("Locked");
        tree.folder("Action");
        tree.folder("Action/d.swf");
        tree.file("Locked/a.swf", "a");
        chmod(tree.path("Locked").c_str(), 0555);
        const Snapshot before = snapshot(tree.root());
        QCOMPARE(FileSystem::remove(tree.path("Action/missing.swf")), FileResult::SourceMissing);
        QCOMPARE(FileSystem::remove(tree.path("Action/d.swf")), FileResult::NotAFile);
        QCOMPARE(FileSystem::remove(tree.path("Board/a.swf")), FileResult::SourceMissing);
        QCOMPARE(resultAsUser([&] { return FileSystem::remove(tree.path("Locked/a.swf")); }),
                 expected(FileResult::NotPermitted));
        QCOMPARE(snapshot(tree.root()), before);
    }
};

PELLIWICK_TEST_MAIN(FileCommandsTest)
#include "FileCommandsTest.moc"
