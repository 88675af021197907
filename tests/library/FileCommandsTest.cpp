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
        const GameFile game = GameFile::ofEntry("/g/Sport", name.toStdString());
        QCOMPARE(game.isPlain(), plain);
        QCOMPARE(game.entry(), name.toStdString());
        QCOMPARE(GameFile::ofEntry("/g/Sport", "tennis").path(),
                 std::string("/g/Sport/tennis.swf"));
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
        QTest::newRow("Latin-1") << QByteArray("/g/Pok\xe9mon.swf")
                                 << QByteArray("file:///g/Pok%E9mon.swf");
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
