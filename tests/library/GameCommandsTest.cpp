// Add, Delete, Modify and Move as the disk sees them, on a category folder
// of a real library: each does its work, and each failure leaves every file
// as it was and says which files it was about and why it failed.
#include "library/GameCommands.h"

#include "support/Snapshot.h"
#include "support/TestMain.h"
#include "support/TreeBuilder.h"

#include <QTest>

Q_DECLARE_METATYPE(FileResult)

class GameCommandsTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TreeBuilder> tree_;

    GameFile game(const std::string& folder, const std::string& entry) const {
        return GameFile::ofEntry(tree_->path(folder), entry);
    }
    // A failure is told with the file it was about.
    static void failed(const CommandResult& result, FileResult expected, const GameFile& game) {
        QCOMPARE(result.result, expected);
        QVERIFY2(result.reason.find(game.path()) != std::string::npos, result.reason.c_str());
    }

private slots:
    void init() {
        tree_ = std::make_unique<TreeBuilder>();
        tree_->folder("Action");
        tree_->folder("Sport");
        tree_->file("Action/chess.swf", "chess");
        tree_->file("Action/Tennis.SWF", "tennis");
        tree_->file("Action/tennis.jpg", "picture");
        tree_->file("Action/lonely.jpg", "picture only");
        tree_->file("Sport/Chess.swf", "other chess");
        tree_->folder("picked");
        tree_->file("picked/Pong.swf", "pong");
        tree_->file("picked/CHESS.swf", "another chess");
        tree_->file("picked/readme.txt", "text");
        tree_->folder("picked/Folder.swf");
        tree_->file("outside.swf", "not a game of the library");
    }
    void cleanup() { tree_.reset(); }

    void add_copiesUnderItsOwnNameAndOnlyGamesWhoseNameIsFree() {
        const auto into = [&](const std::string& picked) {
            return GameFile::ofPath(tree_->path(picked)).movedTo(tree_->path("Action"));
        };
        QVERIFY(GameCommands::canAdd(tree_->path("picked/Pong.swf"), into("picked/Pong.swf")));
        QVERIFY(GameCommands::add(tree_->path("picked/Pong.swf"), into("picked/Pong.swf")).done());
        QCOMPARE(into("picked/Pong.swf").entry(), std::string("Pong"));
        QCOMPARE(snapshot(tree_->path("Action")).at("Pong.swf"), std::string("pong"));
        QCOMPARE(snapshot(tree_->path("picked")).at("Pong.swf"), std::string("pong"));
        // Add copies any extension as it is; a drop takes only game files.
        QVERIFY(!GameCommands::canAdd(tree_->path("picked/readme.txt"), into("picked/readme.txt")));
        QVERIFY(
            GameCommands::add(tree_->path("picked/readme.txt"), into("picked/readme.txt")).done());
        QCOMPARE(snapshot(tree_->path("Action")).at("readme.txt"), std::string("text"));
    }

    void add_thatCannotCopyChangesNothing_data() {
        QTest::addColumn<QString>("picked");
        QTest::addColumn<FileResult>("result");
        QTest::newRow("the very file") << "Action/chess.swf" << FileResult::TargetExists;
        QTest::newRow("name taken in other case") << "picked/CHESS.swf" << FileResult::TargetExists;
        QTest::newRow("typed name of no file") << "picked/typed.swf" << FileResult::SourceMissing;
        QTest::newRow("a folder named as a game") << "picked/Folder.swf" << FileResult::NotAFile;
    }
    void add_thatCannotCopyChangesNothing() {
        QFETCH(QString, picked);
        QFETCH(FileResult, result);
        const Snapshot before = snapshot(tree_->root());
        const std::string source = tree_->path(picked.toStdString());
        const GameFile target = GameFile::ofPath(source).movedTo(tree_->path("Action"));
        QVERIFY(!GameCommands::canAdd(source, target));
        failed(GameCommands::add(source, target), result, target);
        QCOMPARE(snapshot(tree_->root()), before);
    }

    void delete_removesTheFileFoundByItsListedName() {
        QVERIFY(GameCommands::remove(game("Action", "tennis")).done());
        QCOMPARE(snapshot(tree_->path("Action")), (Snapshot{{"chess.swf", "chess"},
                                                            {"lonely.jpg", "picture only"},
                                                            {"tennis.jpg", "picture"}}));
    }

    void delete_ofNoGameFileOrOutOfTheFolderChangesNothing() {
        const Snapshot before = snapshot(tree_->root());
        failed(GameCommands::remove(game("Action", "lonely")), FileResult::SourceMissing,
               game("Action", "lonely"));
        failed(GameCommands::remove(game("Action", "../outside")), FileResult::NotAFile,
               game("Action", "../outside"));
        QCOMPARE(snapshot(tree_->root()), before);
    }

    void modify_renamesInItsFolderAlsoInLetterCaseAlone() {
        const GameFile chess = game("Action", "chess");
        QVERIFY(GameCommands::rename(chess, chess.renamed("Chess Master")).done());
        QCOMPARE(snapshot(tree_->path("Action")).at("Chess Master.swf"), std::string("chess"));
        QVERIFY(!snapshot(tree_->path("Action")).contains("chess.swf"));
        const GameFile tennis = game("Action", "tennis");
        QVERIFY(GameCommands::rename(tennis, tennis.renamed("Tennis")).done());
        QCOMPARE(snapshot(tree_->path("Action")).at("Tennis.swf"), std::string("tennis"));
        QVERIFY(!snapshot(tree_->path("Action")).contains("Tennis.SWF"));
    }

    void modify_toANameThatCannotBeChangesNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<FileResult>("result");
        QTest::newRow("unchanged") << "chess" << FileResult::TargetExists;
        QTest::newRow("taken") << "tennis" << FileResult::TargetExists;
        QTest::newRow("taken in other case") << "TENNIS" << FileResult::TargetExists;
        QTest::newRow("empty") << "" << FileResult::NotAFile;
        QTest::newRow("up and out") << "../../outside" << FileResult::NotAFile;
        QTest::newRow("into a folder") << "Sport/chess" << FileResult::NotAFile;
        QTest::newRow("dot") << "." << FileResult::NotAFile;
        QTest::newRow("dot dot") << ".." << FileResult::NotAFile;
    }
    void modify_toANameThatCannotBeChangesNothing() {
        QFETCH(QString, name);
        QFETCH(FileResult, result);
        const Snapshot before = snapshot(tree_->root());
        const GameFile chess = game("Action", "chess");
        failed(GameCommands::rename(chess, chess.renamed(name.toStdString())), result, chess);
        QCOMPARE(snapshot(tree_->root()), before);
    }

    void move_takesTheGameToTheFolderUnderItsListedName() {
        const GameFile tennis = game("Action", "tennis");
        QVERIFY(GameCommands::move(tennis, tennis.movedTo(tree_->path("Sport"))).done());
        QCOMPARE(snapshot(tree_->path("Sport")).at("tennis.swf"), std::string("tennis"));
        QVERIFY(!snapshot(tree_->path("Action")).contains("Tennis.SWF"));
    }

    void move_thatFailsChangesNothing_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<FileResult>("result");
        QTest::newRow("name taken there") << "chess"
                                          << "Sport" << FileResult::TargetExists;
        QTest::newRow("no such folder") << "chess"
                                        << "Board" << FileResult::FolderMissing;
        QTest::newRow("no game file") << "lonely"
                                      << "Sport" << FileResult::SourceMissing;
        QTest::newRow("onto itself") << "chess"
                                     << "Action" << FileResult::TargetExists;
        QTest::newRow("out of the folder") << "../outside"
                                           << "Sport" << FileResult::NotAFile;
    }
    void move_thatFailsChangesNothing() {
        QFETCH(QString, entry);
        QFETCH(QString, folder);
        QFETCH(FileResult, result);
        const Snapshot before = snapshot(tree_->root());
        const GameFile moving = game("Action", entry.toStdString());
        failed(GameCommands::move(moving, moving.movedTo(tree_->path(folder.toStdString()))),
               result, moving);
        QCOMPARE(snapshot(tree_->root()), before);
    }
};

PELLIWICK_TEST_MAIN(GameCommandsTest)
#include "GameCommandsTest.moc"
