// Add, Delete, Modify and Move as the disk sees them, on a category folder
// of a real library: each does its work, and each failure leaves every file
// as it was and says which files it was about and why it failed.
#include "library/GameCommands.h"

#include "support/Snapshot.h"
#include "support/TestMain.h"
#include "support/TreeBuilder.h"

#include <QTest>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(FileResult)

class GameCommandsTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TreeBuilder> tree_;

    // The game an entry listed from category's subfolder (or its top) stands for.
    GameFile game(const std::string& category, const std::string& entry,
                  const std::string& subfolder = {}) const {
        return GameFile::ofEntry(tree_->path(category), {entry, subfolder});
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

    // A game listed from a subfolder is the file it was listed from: each
    // command acts on it, and the game of the same name at the top, or in
    // another subfolder, keeps its bytes.
    void subfolderGame_eachCommandActsOnItsOwnFileAlone() {
        tree_->folder("Action/Twin");
        tree_->file("Action/Twin/Chess.swf", "twin chess");
        tree_->file("Action/Twin/level.swf", "its level");
        tree_->folder("Action/Other Pack");
        tree_->file("Action/Other Pack/chess.swf", "third chess");
        const Snapshot top = snapshot(tree_->path("Action"));
        const auto othersStay = [&] {
            QCOMPARE(snapshot(tree_->path("Action")).at("chess.swf"), std::string("chess"));
            QCOMPARE(snapshot(tree_->path("Action")).at("Other Pack/chess.swf"),
                     std::string("third chess"));
        };

        // Modify: in its own folder, never over a name taken there.
        const GameFile twin = game("Action", "chess", "Twin");
        QCOMPARE(twin.path(), tree_->path("Action/Twin/chess.swf"));
        failed(GameCommands::rename(twin, twin.renamed("LEVEL")), FileResult::TargetExists, twin);
        const GameFile renamed = twin.renamed("Chess Twin");
        QVERIFY(GameCommands::rename(twin, renamed).done());
        QCOMPARE(snapshot(tree_->path("Action/Twin")).at("Chess Twin.swf"),
                 std::string("twin chess"));
        QVERIFY(!snapshot(tree_->path("Action/Twin")).contains("Chess.swf"));
        QCOMPARE(renamed.listEntry(), (GameEntry{"Chess Twin", "Twin"}));
        othersStay();

        // Move: to the top of the other category, its level left behind.
        const GameFile moved = renamed.movedTo(tree_->path("Sport"));
        QVERIFY(GameCommands::move(renamed, moved).done());
        QCOMPARE(snapshot(tree_->path("Sport")).at("Chess Twin.swf"), std::string("twin chess"));
        QCOMPARE(snapshot(tree_->path("Action/Twin")), (Snapshot{{"level.swf", "its level"}}));
        othersStay();

        // Delete: the level, and nothing else.
        QVERIFY(GameCommands::remove(game("Action", "level", "Twin")).done());
        QCOMPARE(snapshot(tree_->path("Action/Twin")), Snapshot{});
        othersStay();
        QCOMPARE(snapshot(tree_->path("Action")).size(), top.size() - 2);
    }

    // Between the listing and the command the subfolder went, was renamed
    // (even in letter case alone) or became a link to a folder outside the
    // category, or to another inside it: the folder it was listed from is
    // not there, so the command fails and no file anywhere changes.
    void subfolderGame_whoseFolderChangedSinceTheListing_changesNothing_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<FileResult>("result");
        QTest::newRow("gone") << "gone" << FileResult::SourceMissing;
        QTest::newRow("renamed") << "renamed" << FileResult::SourceMissing;
        QTest::newRow("other case") << "other case" << FileResult::SourceMissing;
        QTest::newRow("link out") << "link out" << FileResult::SourceMissing;
        QTest::newRow("link inside") << "link inside" << FileResult::SourceMissing;
        QTest::newRow("link above it") << "link above" << FileResult::SourceMissing;
    }
    void subfolderGame_whoseFolderChangedSinceTheListing_changesNothing() {
        QFETCH(QString, change);
        QFETCH(FileResult, result);
        tree_->folder("Action/Pack");
        tree_->folder("Action/Pack/Twin");
        tree_->file("Action/Pack/Twin/pong.swf", "listed pong");
        tree_->folder("elsewhere");
        tree_->file("elsewhere/pong.swf", "a file outside the library");
        tree_->file("elsewhere/golf.swf", "another outside");
        tree_->folder("Action/Inside");
        tree_->file("Action/Inside/pong.swf", "another game of the category");
        const GameFile listed = game("Action", "pong", "Pack/Twin");
        const std::string twin = tree_->path("Action/Pack/Twin");
        if (change == "gone" || change == "renamed" || change == "other case") {
            rename(twin.c_str(), tree_
                                     ->path(change == "gone"      ? "Twin"
                                            : change == "renamed" ? "Action/Pack/Twin 2"
                                                                  : "Action/Pack/TWIN")
                                     .c_str());
        } else if (change == "link above") {
            rename(tree_->path("Action/Pack").c_str(), tree_->path("Pack").c_str());
            tree_->link("Action/Pack", tree_->path("elsewhere"));
            mkdir(tree_->path("elsewhere/Twin").c_str(), 0755);
            tree_->file("elsewhere/Twin/pong.swf", "outside, one deeper");
        } else {
            rename(twin.c_str(), tree_->path("Twin").c_str());
            tree_->link("Action/Pack/Twin",
                        tree_->path(change == "link out" ? "elsewhere" : "Action/Inside"));
        }
        const Snapshot before = snapshot(tree_->root());
        failed(GameCommands::remove(listed), result, listed);
        failed(GameCommands::rename(listed, listed.renamed("golf")), result, listed);
        failed(GameCommands::rename(listed, listed.renamed("Pong 2")), result, listed);
        failed(GameCommands::move(listed, listed.movedTo(tree_->path("Sport"))), result, listed);
        QCOMPARE(snapshot(tree_->root()), before);
    }
};

PELLIWICK_TEST_MAIN(GameCommandsTest)
#include "GameCommandsTest.moc"
