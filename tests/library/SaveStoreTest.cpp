// The games' saves on real folders: filed under the names the engine gives
// them, seen by the games the original player let see them, written whole,
// refused when they are not the game's or too big, following a renamed game.
#include "library/SaveStore.h"

#include "library/GameFile.h"
#include "support/OrdinaryUser.h"
#include "support/Snapshot.h"
#include "support/TestMain.h"
#include "support/TreeBuilder.h"

#include <QTest>
#include <algorithm>

Q_DECLARE_METATYPE(SaveResult)

namespace {

const std::string Pong = "localhost/home/u/Action/pong.swf";
const std::string Chess = "localhost/home/u/Action/chess.swf";
const std::string Golf = "localhost/home/u/Sport/golf.swf";

// Key and bytes of every save the movie sees, in key order, for comparisons
// that print what differs.
QStringList seenBy(const SaveStore& store, const std::string& movie) {
    QStringList seen;
    for (const SaveStore::Save& save : store.visibleTo(movie))
        seen << QString::fromStdString(save.key + "=" + save.bytes);
    seen.sort();
    return seen;
}

} // namespace

class SaveStoreTest : public QObject {
    Q_OBJECT
private slots:
    void movieKey_spellsThePathAsTheEngineDoes_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("key");
        QTest::newRow("plain") << "/home/u/Action/pong.swf"
                               << "localhost/home/u/Action/pong.swf";
        QTest::newRow("blanks") << "/home/u/Action/space war.swf"
                                << "localhost/home/u/Action/space%20war.swf";
        QTest::newRow("braces and quotes") << "/g/{\"x\"}.swf"
                                           << "localhost/g/%7B%22x%22%7D.swf";
        QTest::newRow("accents") << "/g/caf\u00e9.swf"
                                 << "localhost/g/caf%C3%A9.swf";
        QTest::newRow("a hidden folder, given encoded")
            << "/home/u/.local/share/pelliwick/Action/pong.swf"
            << "localhost/home/u/%2Elocal/share/pelliwick/Action/pong.swf";
        QTest::newRow("hash, given encoded") << "/g/no#1 100%.swf"
                                             << "localhost/g/no%231%20100%25.swf";
    }
    void movieKey_spellsThePathAsTheEngineDoes() {
        QFETCH(QString, path);
        QFETCH(QString, key);
        QCOMPARE(QString::fromStdString(
                     SaveStore::movieKey(GameFile::movieUrl(path.toUtf8().toStdString()))),
                 key);
    }

    void visibleTo_showsOwnSavesAndThoseOfTheFoldersAbove() {
        TreeBuilder tree;
        const SaveStore store(tree.root());
        for (const std::string& key :
             {Pong + "/scores", Pong + "/#levels/one", std::string("localhost/home/u/Action/best"),
              std::string("localhost//player")})
            QCOMPARE(store.put(Pong, key, "bytes of " + key), SaveResult::Done);
        QCOMPARE(store.put(Golf, Golf + "/scores", "golf"), SaveResult::Done);

        QCOMPARE(
            seenBy(store, Pong),
            (QStringList{
                "localhost//player=bytes of localhost//player",
                "localhost/home/u/Action/best=bytes of localhost/home/u/Action/best",
                QString::fromStdString(Pong + "/#levels/one=bytes of " + Pong + "/#levels/one"),
                QString::fromStdString(Pong + "/scores=bytes of " + Pong + "/scores")}));
        // A game beside it shares the folder's and the disk's, not pong's own.
        QCOMPARE(
            seenBy(store, Chess),
            (QStringList{"localhost//player=bytes of localhost//player",
                         "localhost/home/u/Action/best=bytes of localhost/home/u/Action/best"}));
        QCOMPARE(seenBy(store, Golf), (QStringList{"localhost//player=bytes of localhost//player",
                                                   QString::fromStdString(Golf + "/scores=golf")}));
        // Filed as the original player filed them.
        QCOMPARE(snapshot(tree.root() + "/localhost/home/u/Action/pong.swf"),
                 (Snapshot{{"#levels", "<folder or link>"},
                           {"#levels/one.sol", "bytes of " + Pong + "/#levels/one"},
                           {"scores.sol", "bytes of " + Pong + "/scores"}}));
    }

    void put_refusesWhatIsNotTheGamesAndWritesNothing_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<SaveResult>("result");
        QTest::newRow("another game's")
            << QString::fromStdString(Chess + "/scores") << SaveResult::NotTheGames;
        QTest::newRow("a folder beside")
            << "localhost/home/u/Sport/best" << SaveResult::NotTheGames;
        QTest::newRow("a path sharing the prefix")
            << "localhost/home/u/Act/best" << SaveResult::NotTheGames;
        QTest::newRow("up and out")
            << QString::fromStdString(Pong + "/../../x") << SaveResult::NotTheGames;
        QTest::newRow("hidden") << QString::fromStdString(Pong + "/.x") << SaveResult::NotTheGames;
        QTest::newRow("no name") << QString::fromStdString(Pong + "/") << SaveResult::NotTheGames;
        QTest::newRow("another host")
            << "example.org/home/u/Action/pong.swf/x" << SaveResult::NotTheGames;
        QTest::newRow("too big") << QString::fromStdString(Pong + "/big") << SaveResult::TooLarge;
    }
    void put_refusesWhatIsNotTheGamesAndWritesNothing() {
        QFETCH(QString, key);
        QFETCH(SaveResult, result);
        TreeBuilder tree;
        const SaveStore store(tree.root());
        const std::string bytes(result == SaveResult::TooLarge ? SaveStore::MaxSaveBytes + 1 : 3,
                                'x');
        QCOMPARE(store.put(Pong, key.toStdString(), bytes), result);
        QCOMPARE(store.remove(Pong, key.toStdString()),
                 result == SaveResult::TooLarge ? SaveResult::Done : result);
        QCOMPARE(snapshot(tree.root()), Snapshot{});
    }

    void put_replacesWholeAndRefusesOneSaveTooMany() {
        TreeBuilder tree;
        const SaveStore store(tree.root());
        QCOMPARE(store.put(Pong, Pong + "/scores", "old"), SaveResult::Done);
        QCOMPARE(store.put(Pong, Pong + "/scores", "new"), SaveResult::Done);
        QCOMPARE(snapshot(tree.root() + "/localhost/home/u/Action/pong.swf"),
                 (Snapshot{{"scores.sol", "new"}}));
        for (std::size_t i = 1; i < SaveStore::MaxSavesPerFolder; ++i)
            QCOMPARE(store.put(Pong, Pong + "/s" + std::to_string(i), "x"), SaveResult::Done);
        QCOMPARE(store.put(Pong, Pong + "/one-too-many", "x"), SaveResult::TooMany);
        // One already there may still be written, and other games' saves too.
        QCOMPARE(store.put(Pong, Pong + "/scores", "newer"), SaveResult::Done);
        QCOMPARE(store.put(Chess, Chess + "/scores", "x"), SaveResult::Done);
        QCOMPARE(store.visibleTo(Pong).size(), SaveStore::MaxSavesPerFolder);
        QCOMPARE(store.remove(Pong, Pong + "/scores"), SaveResult::Done);
        QCOMPARE(store.visibleTo(Pong).size(), SaveStore::MaxSavesPerFolder - 1);
    }

    void moveGame_takesItsOwnSavesAndNeverReplacesAnyone() {
        TreeBuilder tree;
        const SaveStore store(tree.root());
        QCOMPARE(store.put(Pong, Pong + "/scores", "pong"), SaveResult::Done);
        QCOMPARE(store.put(Pong, "localhost/home/u/Action/best", "shared"), SaveResult::Done);
        QCOMPARE(store.put(Golf, Golf + "/scores", "golf"), SaveResult::Done);

        const std::string moved = "localhost/home/u/Sport/pong.swf";
        QCOMPARE(store.moveGame(Pong, moved), SaveResult::Done);
        QCOMPARE(seenBy(store, moved),
                 (QStringList{QString::fromStdString(moved + "/scores=pong")}));
        QCOMPARE(seenBy(store, Pong), (QStringList{"localhost/home/u/Action/best=shared"}));
        // Onto a name whose saves a deleted game left: both stay as they are.
        QCOMPARE(store.moveGame(moved, Golf), SaveResult::TargetExists);
        QCOMPARE(seenBy(store, Golf), (QStringList{QString::fromStdString(Golf + "/scores=golf")}));
        QCOMPARE(seenBy(store, moved),
                 (QStringList{QString::fromStdString(moved + "/scores=pong")}));
        // A game without saves moves none.
        QCOMPARE(store.moveGame(Chess, Golf + "x"), SaveResult::Done);
    }

    void damagedStore_givesWhatItCanAndNeverFailsTheGame() {
        TreeBuilder tree;
        // The store's place taken by a file.
        tree.file("file");
        const SaveStore blocked(tree.path("file"));
        QCOMPARE(blocked.visibleTo(Pong).size(), std::size_t(0));
        QCOMPARE(blocked.put(Pong, Pong + "/scores", "x"), SaveResult::Failed);

        // A folder where a save should be, a link, and a save the user
        // cannot read.
        const SaveStore store(tree.path("store"));
        QCOMPARE(store.put(Pong, Pong + "/good", "good"), SaveResult::Done);
        const std::string own = tree.path("store/localhost/home/u/Action/pong.swf");
        tree.folder("store/localhost/home/u/Action/pong.swf/folder.sol");
        tree.link("store/localhost/home/u/Action/pong.swf/link.sol", own + "/good.sol");
        tree.file("store/localhost/home/u/Action/pong.swf/closed.sol", "closed");
        chmod((own + "/closed.sol").c_str(), 0);
        // The store is the user's own; here the user may be "nobody".
        if (geteuid() == 0)
            QCOMPARE(std::system(("chown -R 65534:65534 '" + tree.path("store") + "'").c_str()), 0);
        const std::optional<std::string> seen = asOrdinaryUser([&] {
            std::string keys;
            for (const SaveStore::Save& save : store.visibleTo(Pong))
                keys += save.key + "=" + save.bytes + ";";
            return keys;
        });
        QCOMPARE(QString::fromStdString(seen.value_or("<child failed>")),
                 QString::fromStdString(Pong + "/good=good;"));
    }
};

PELLIWICK_TEST_MAIN(SaveStoreTest)
#include "SaveStoreTest.moc"
