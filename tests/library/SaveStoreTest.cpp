// The games' saves on real folders: filed under the names the engine gives
// them, seen by the games the original player let see them, written whole,
// refused when they are not the game's, past its budget or the store's,
// following a renamed game.
#include "library/SaveStore.h"

#include "library/GameFile.h"
#include "library/SaveBudget.h"
#include "support/OrdinaryUser.h"
#include "support/Snapshot.h"
#include "support/TestMain.h"
#include "support/TreeBuilder.h"

#include <QTest>
#include <fcntl.h>
#include <filesystem>
#include <limits>
#include <sys/stat.h>
#include <tuple>

Q_DECLARE_METATYPE(SaveResult)

namespace {

const std::string Pong = "localhost/home/u/Action/pong.swf";
const std::string Chess = "localhost/home/u/Action/chess.swf";
const std::string Golf = "localhost/home/u/Sport/golf.swf";

// Where the movie's save of that key is kept; the test fails at once when
// the store would not keep it.
SaveStore::Place at(const std::string& movie, const std::string& key) {
    const std::optional<SaveStore::Place> place = SaveStore::placeFor(movie, key);
    if (!place)
        qFatal("not a save of the movie: %s", key.c_str());
    return *place;
}

// What the movie reads of the save, or "-" for nothing.
std::string readBy(const SaveStore& store, const std::string& movie, const std::string& key) {
    const std::optional<SaveStore::Place> place = SaveStore::placeFor(movie, key);
    return place ? store.read(*place).value_or("-") : "-";
}

// Sparse files of that many bytes, as a store an older program filled.
void hoard(const std::string& folder, int files, std::uintmax_t bytes) {
    std::filesystem::create_directories(folder);
    for (int i = 0; i < files; ++i) {
        const std::string file = folder + "/" + std::to_string(i) + ".sol";
        std::fclose(std::fopen(file.c_str(), "w"));
        std::filesystem::resize_file(file, bytes);
    }
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
        QCOMPARE(QString::fromStdString(GameFile::ofPath(path.toUtf8().toStdString()).savesKey()),
                 key);
    }

    void placeFor_keepsOnlyTheGamesOwnAndNamesAFileMayHold_data() {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QString>("place"); // shelf|name, or empty for refused
        const QByteArray pong = QByteArray::fromStdString(Pong);
        QTest::newRow("its own") << pong + "/scores"
                                 << "home/u/Action/pong.swf|scores";
        QTest::newRow("its own, 8 folders deep") << pong + "/#a/b/c/d/e/f/g/h/s"
                                                 << "home/u/Action/pong.swf|#a/b/c/d/e/f/g/h/s";
        QTest::newRow("its folder's")
            << QByteArray("localhost/home/u/Action/best") << "home/u/Action|best";
        QTest::newRow("the whole disk's") << QByteArray("localhost//best") << "|best";
        QTest::newRow("9 folders deep") << pong + "/#a/b/c/d/e/f/g/h/i/s"
                                        << "";
        QTest::newRow("a thousand deep") << pong + "/#" + QByteArray("d/").repeated(1000) + "s"
                                         << "";
        QTest::newRow("another game's") << QByteArray::fromStdString(Chess + "/scores") << "";
        QTest::newRow("a folder beside") << QByteArray("localhost/home/u/Sport/best") << "";
        QTest::newRow("a path sharing the prefix") << QByteArray("localhost/home/u/Act/best") << "";
        QTest::newRow("another game's through the disk's")
            << QByteArray("localhost//home/u/Action/chess.swf/scores") << "";
        QTest::newRow("up and out") << pong + "/../../x"
                                    << "";
        QTest::newRow("up and out, in a name") << pong + "/#a/../../x"
                                               << "";
        QTest::newRow("hidden") << pong + "/.x"
                                << "";
        QTest::newRow("no name") << pong + "/"
                                 << "";
        QTest::newRow("an empty folder") << pong + "/#a//b"
                                         << "";
        QTest::newRow("a folder without a name") << pong + "/#a/"
                                                 << "";
        QTest::newRow("NUL") << pong + "/a" + QByteArray(1, '\0') + "b"
                             << "";
        QTest::newRow("control character") << pong + "/a\x01"
                                                     "b"
                                           << "";
        QTest::newRow("backslash") << pong + "/a\\..\\b"
                                   << "";
        QTest::newRow("not UTF-8") << pong + "/a\xff"
                                   << "";
        QTest::newRow("a lone surrogate") << pong + "/a\xed\xa0\x80"
                                          << "";
        QTest::newRow("240 bytes")
            << pong + "/" + QByteArray(240, 'x') << "home/u/Action/pong.swf|" + QString(240, u'x');
        QTest::newRow("241 bytes") << pong + "/" + QByteArray(241, 'x') << "";
        QTest::newRow("another host") << QByteArray("example.org/home/u/Action/pong.swf/x") << "";
    }
    void placeFor_keepsOnlyTheGamesOwnAndNamesAFileMayHold() {
        QFETCH(QByteArray, key);
        QFETCH(QString, place);
        const std::optional<SaveStore::Place> found = SaveStore::placeFor(Pong, key.toStdString());
        QCOMPARE(found ? QString::fromStdString(found->shelf + "|" + found->name) : QString(),
                 place);
    }

    void read_givesWhatTheGameMaySeeAsFiledByTheOriginalPlayer() {
        TreeBuilder tree;
        const SaveStore store(tree.root());
        for (const std::string& key :
             {Pong + "/scores", Pong + "/#levels/one", std::string("localhost/home/u/Action/best"),
              std::string("localhost//player")})
            QCOMPARE(store.put(at(Pong, key), "bytes of " + key), SaveResult::Done);
        QCOMPARE(store.put(at(Golf, Golf + "/scores"), "golf"), SaveResult::Done);
        QCOMPARE(store.put(at(Pong, Pong + "/scores"), "newer"), SaveResult::Done);

        QCOMPARE(readBy(store, Pong, Pong + "/scores"), "newer");
        QCOMPARE(readBy(store, Pong, Pong + "/#levels/one"), "bytes of " + Pong + "/#levels/one");
        // A game beside it shares the folder's and the disk's, not pong's own.
        QCOMPARE(readBy(store, Chess, "localhost/home/u/Action/best"),
                 "bytes of localhost/home/u/Action/best");
        QCOMPARE(readBy(store, Chess, Pong + "/scores"), "-");
        QCOMPARE(readBy(store, Golf, "localhost//player"), "bytes of localhost//player");
        QCOMPARE(readBy(store, Golf, "localhost/home/u/Action/best"), "-");
        QCOMPARE(store.remove(at(Pong, Pong + "/scores")), SaveResult::Done);
        QCOMPARE(readBy(store, Pong, Pong + "/scores"), "-");
        QCOMPARE(snapshot(tree.root() + "/localhost/home/u/Action/pong.swf"),
                 (Snapshot{{"#levels", "<folder or link>"},
                           {"#levels/one.sol", "bytes of " + Pong + "/#levels/one"}}));
    }

    // What the saves dialog lists of a game: its own saves and those of the
    // folders above it, marked shared, newest first, with their sizes; never
    // another game's own, a hidden file, or what a link leads to.
    void savesOf_listsItsOwnAndWhatItShares_newestFirst() {
        TreeBuilder tree;
        const SaveStore store(tree.root());
        const std::vector<std::pair<std::string, std::string>> saves{
            {Pong + "/scores", "12345"},
            {Pong + "/#levels/one", "1"},
            {"localhost/home/u/Action/best", "22"},
            {"localhost//player", "333"},
            {Chess + "/scores", "not pong's"},
            {Golf + "/scores", "not pong's either"}};
        // Each written a minute after the one before.
        std::int64_t minute = 1;
        for (const auto& [key, bytes] : saves) {
            const SaveStore::Place place = at(key.starts_with(Chess)  ? Chess
                                              : key.starts_with(Golf) ? Golf
                                                                      : Pong,
                                              key);
            QCOMPARE(store.put(place, bytes), SaveResult::Done);
            const std::string file = tree.root() + "/localhost/" + place.shelf +
                                     (place.shelf.empty() ? "" : "/") + place.name + ".sol";
            const timespec times[2] = {{minute * 60, 0}, {minute * 60, 0}};
            QCOMPARE(utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
            ++minute;
        }
        tree.file("localhost/home/u/Action/pong.swf/.player-settings", "not a save");
        tree.folder("elsewhere");
        tree.file("elsewhere/secret.sol", "not the game's");
        tree.link("localhost/home/u/Action/pong.swf/linked.sol", tree.path("elsewhere/secret.sol"));
        tree.link("localhost/home/u/Action/pong.swf/#linked", tree.path("elsewhere"));

        std::vector<std::tuple<std::string, std::string, std::uint64_t, bool>> listed;
        std::int64_t last = std::numeric_limits<std::int64_t>::max();
        for (const SaveStore::Listed& save : store.savesOf(Pong)) {
            listed.emplace_back(save.key, save.name, save.bytes, save.shared);
            QVERIFY(save.writtenMs <= last);
            last = save.writtenMs;
        }
        using Row = std::tuple<std::string, std::string, std::uint64_t, bool>;
        QCOMPARE(listed, (std::vector<Row>{{"localhost//player", "player", 3, true},
                                           {"localhost/home/u/Action/best", "best", 2, true},
                                           {Pong + "/#levels/one", "levels/one", 1, false},
                                           {Pong + "/scores", "scores", 5, false}}));
        QVERIFY(store.savesOf("no movie key").empty());
        QCOMPARE(store.gameFolder(Pong).value_or(""),
                 tree.root() + "/localhost/home/u/Action/pong.swf");
    }

    // A save brought in from a .sol file is filed under the name it holds,
    // among the game's own, as the engine files it; a name that leads
    // anywhere else, or that no file may hold, is not taken.
    void ownKey_filesABroughtSaveAmongTheGamesOwnOnly_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("key");
        QTest::newRow("plain") << QByteArray("scores") << QByteArray(Pong.c_str()) + "/scores";
        QTest::newRow("a name of folders")
            << QByteArray("levels/one") << QByteArray(Pong.c_str()) + "/#levels/one";
        QTest::newRow("UTF-8") << QByteArray("caf\xc3\xa9")
                               << QByteArray(Pong.c_str()) + "/caf\xc3\xa9";
        for (const char* refused : {"", "../escape", "..", "a/../../b", "/etc/shadow", "a//b", "a/",
                                    ".hidden", "back\\slash", "caf\xe9"})
            QTest::newRow(refused) << QByteArray(refused) << QByteArray();
        QTest::newRow("NUL") << QByteArray("a\0b", 3) << QByteArray();
        QTest::newRow("too long") << QByteArray(300, 'x') << QByteArray();
    }
    void ownKey_filesABroughtSaveAmongTheGamesOwnOnly() {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, key);
        const std::optional<std::string> filed = SaveStore::ownKey(Pong, name.toStdString());
        QCOMPARE(filed.value_or(""), key.toStdString());
    }

    void admit_keepsEachGameWithinItsBudgetAlone() {
        TreeBuilder tree;
        const SaveStore store(tree.root());
        SaveBudget budget(store);
        const SaveStore::Usage limit = SaveStore::GameBudget;
        for (std::uint64_t i = 0; i < limit.folders; ++i)
            QCOMPARE(budget.admit(Pong, Pong + "/#k" + std::to_string(i) + "/s", 1),
                     SaveResult::Done);
        QCOMPARE(budget.admit(Pong, Pong + "/#one-too-many/s", 1), SaveResult::OverBudget);
        for (std::uint64_t i = limit.folders; i < limit.saves; ++i)
            QCOMPARE(budget.admit(Pong, Pong + "/s" + std::to_string(i), 1), SaveResult::Done);
        QCOMPARE(budget.admit(Pong, Pong + "/one-too-many", 1), SaveResult::OverBudget);
        // Rewriting a save grows the bytes until they run out, then may
        // still shrink it; a save removed makes room for another.
        const std::uint64_t room = limit.bytes - limit.saves; // each save holds a byte
        const std::uint64_t perSave = SaveStore::MaxSaveBytes;
        std::uint64_t i = 0;
        for (; (i + 1) * (perSave - 1) <= room; ++i)
            QCOMPARE(budget.admit(Pong, Pong + "/s" + std::to_string(limit.folders + i), perSave),
                     SaveResult::Done);
        QCOMPARE(budget.admit(Pong, Pong + "/s" + std::to_string(limit.folders + i), perSave),
                 SaveResult::OverBudget);
        QCOMPARE(budget.admit(Pong, Pong + "/s" + std::to_string(limit.folders), 2),
                 SaveResult::Done);
        QVERIFY(budget.admitted(Pong + "/s" + std::to_string(limit.folders)) == 2);
        budget.release(Pong, Pong + "/s" + std::to_string(limit.folders));
        QVERIFY(!budget.admitted(Pong + "/s" + std::to_string(limit.folders)));
        QCOMPARE(budget.admit(Pong, Pong + "/in-its-room", 1), SaveResult::Done);
        // Another game, also beside it, has all of its own budget.
        QCOMPARE(budget.admit(Chess, Chess + "/#a/s", perSave), SaveResult::Done);
        QCOMPARE(budget.admit(Pong, Pong + "/" + std::string(241, 'x'), 1),
                 SaveResult::NotTheGames);
        QCOMPARE(budget.admit(Pong, Pong + "/huge", perSave + 1), SaveResult::TooLarge);
    }

    void admit_sharedSavesCountWithAllTheGameSees_itsOwnNeverWithOthers() {
        TreeBuilder tree;
        const SaveStore store(tree.root());
        SaveBudget budget(store);
        const std::uint64_t perSave = SaveStore::MaxSaveBytes;
        int shared = 0;
        while (budget.admit(Golf, "localhost//big" + std::to_string(shared), perSave) ==
               SaveResult::Done)
            ++shared;
        QCOMPARE(std::uint64_t(shared), SaveStore::GameBudget.bytes / perSave);
        // Pong sees what golf shares with every game: no room to share more,
        // but all its room for its own.
        QCOMPARE(budget.admit(Pong, "localhost/home/u/Action/best", 1), SaveResult::OverBudget);
        QCOMPARE(budget.admit(Pong, Pong + "/big", perSave), SaveResult::Done);
        budget.release(Golf, "localhost//big0");
        budget.release(Golf, "localhost//big1");
        QCOMPARE(budget.admit(Pong, "localhost/home/u/Action/best", 1), SaveResult::Done);
        // Counted on disk by a program started later, as the store holds them.
        hoard(tree.path("localhost/home/u/Action/#hoard"), 1, perSave * 17);
        SaveBudget later(store);
        QCOMPARE(later.admit(Chess, "localhost/home/u/Action/more", 1), SaveResult::OverBudget);
        QCOMPARE(later.admit(Chess, Chess + "/own", 1), SaveResult::Done);
    }

    void admit_storePastItsBudget_refusesNewSavesAndTouchesNone() {
        TreeBuilder tree;
        const SaveStore store(tree.root());
        QCOMPARE(store.put(at(Pong, Pong + "/scores"), "old"), SaveResult::Done);
        hoard(tree.path("localhost/elsewhere/other.swf"), 257, SaveStore::MaxSaveBytes);
        const Snapshot before = snapshot(tree.root() + "/localhost/home");
        SaveBudget budget(store);
        QCOMPARE(budget.admit(Golf, Golf + "/scores", 1), SaveResult::StoreFull);
        QCOMPARE(budget.admit(Pong, Pong + "/scores", 3), SaveResult::Done);
        QCOMPARE(budget.admit(Pong, Pong + "/scores", 4), SaveResult::StoreFull);
        QCOMPARE(snapshot(tree.root() + "/localhost/home"), before);
        QCOMPARE(std::filesystem::file_size(tree.path("localhost/elsewhere/other.swf/256.sol")),
                 SaveStore::MaxSaveBytes);
    }

    void count_readsNoFurtherThanTheBounds() {
        TreeBuilder tree;
        const SaveStore store(tree.root());
        std::string chain = tree.path("localhost/g/pong.swf/#d");
        for (int i = 0; i < 20; ++i)
            chain += "/d";
        std::filesystem::create_directories(chain);
        tree.file("localhost/g/pong.swf/#d/d/d/d/d/d/d/s.sol", "12345");
        tree.file("localhost/g/pong.swf/#d/d/d/d/d/d/d/d/d/deeper.sol", "12345");
        const SaveStore::Usage shelf = store.countShelf("g/pong.swf");
        QCOMPARE(shelf.folders, SaveStore::MaxNameDepth);
        QCOMPARE(shelf.saves, std::uint64_t(1));
        QCOMPARE(shelf.bytes, std::uint64_t(5));
        hoard(tree.path("localhost/g/#hoard"), int(SaveStore::GameBudget.saves) + 1, 0);
        QCOMPARE(store.countShelf("g").saves, SaveStore::Beyond);
        // localhost, g, pong.swf, the chain, #hoard.
        QCOMPARE(store.countAll().folders, std::uint64_t(3 + 21 + 1));
    }

    void moveGame_takesItsOwnSavesAndNeverReplacesAnyone() {
        TreeBuilder tree;
        const SaveStore store(tree.root());
        QCOMPARE(store.put(at(Pong, Pong + "/scores"), "pong"), SaveResult::Done);
        QCOMPARE(store.put(at(Pong, "localhost/home/u/Action/best"), "shared"), SaveResult::Done);
        QCOMPARE(store.put(at(Golf, Golf + "/scores"), "golf"), SaveResult::Done);

        const std::string moved = "localhost/home/u/Sport/pong.swf";
        QCOMPARE(store.moveGame(Pong, moved), SaveResult::Done);
        QCOMPARE(readBy(store, moved, moved + "/scores"), "pong");
        QCOMPARE(readBy(store, Pong, Pong + "/scores"), "-");
        QCOMPARE(readBy(store, Pong, "localhost/home/u/Action/best"), "shared");
        // Onto a name whose saves a deleted game left: both stay as they are.
        QCOMPARE(store.moveGame(moved, Golf), SaveResult::TargetExists);
        QCOMPARE(readBy(store, Golf, Golf + "/scores"), "golf");
        QCOMPARE(readBy(store, moved, moved + "/scores"), "pong");
        // A game without saves moves none.
        QCOMPARE(store.moveGame(Chess, Golf + "x"), SaveResult::Done);
    }

    void damagedStore_givesWhatItCanAndNeverFailsTheGame() {
        TreeBuilder tree;
        // The store's place taken by a file.
        tree.file("file");
        const SaveStore blocked(tree.path("file"));
        QCOMPARE(readBy(blocked, Pong, Pong + "/scores"), "-");
        QCOMPARE(blocked.put(at(Pong, Pong + "/scores"), "x"), SaveResult::Failed);
        QCOMPARE(SaveBudget(blocked).admit(Pong, Pong + "/scores", 1), SaveResult::Failed);

        // A folder where a save should be, a link, and a save the user
        // cannot read.
        const SaveStore store(tree.path("store"));
        QCOMPARE(store.put(at(Pong, Pong + "/good"), "good"), SaveResult::Done);
        const std::string own = tree.path("store/localhost/home/u/Action/pong.swf");
        tree.folder("store/localhost/home/u/Action/pong.swf/folder.sol");
        tree.link("store/localhost/home/u/Action/pong.swf/link.sol", own + "/good.sol");
        tree.file("store/localhost/home/u/Action/pong.swf/closed.sol", "closed");
        chmod((own + "/closed.sol").c_str(), 0);
        // The store is the user's own; here the user may be "nobody".
        if (geteuid() == 0)
            QCOMPARE(std::system(("chown -R 65534:65534 '" + tree.path("store") + "'").c_str()), 0);
        const std::optional<std::string> seen = asOrdinaryUser([&] {
            std::string seen;
            for (const char* name : {"good", "folder", "link", "closed"})
                seen += readBy(store, Pong, Pong + "/" + name) + ";";
            return seen;
        });
        QCOMPARE(QString::fromStdString(seen.value_or("<child failed>")), "good;-;-;-;");
    }
};

PELLIWICK_TEST_MAIN(SaveStoreTest)
#include "SaveStoreTest.moc"
