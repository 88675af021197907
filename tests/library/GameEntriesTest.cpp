// The game list's entries: whatever is added, renamed or removed, each entry
// keeps standing for the file of its own folder.
#include "library/GameEntries.h"

#include "support/TestMain.h"

#include <QTest>

namespace {

std::vector<GameEntry> all(const GameEntries& entries) {
    std::vector<GameEntry> found;
    for (size_t i = 0; i < entries.size(); ++i)
        found.push_back(entries[i]);
    return found;
}

// A listing as the scan makes one: the top, a subfolder, the top again.
GameEntries listing() {
    GameEntries entries;
    for (const GameEntry& entry : std::vector<GameEntry>{
             {"apple", ""}, {"pear", ""}, {"apple", "Twin"}, {"plum", "Twin"}, {"zebra", ""}})
        entries.push_back(entry);
    return entries;
}

} // namespace

class GameEntriesTest : public QObject {
    Q_OBJECT
private slots:
    void entries_keepTheirFolderThroughEveryChange() {
        GameEntries entries = listing();
        QCOMPARE(
            all(entries),
            (std::vector<GameEntry>{
                {"apple", ""}, {"pear", ""}, {"apple", "Twin"}, {"plum", "Twin"}, {"zebra", ""}}));
        entries.rename(3, "Plum Pie");
        entries.erase(1);
        QCOMPARE(all(entries),
                 (std::vector<GameEntry>{
                     {"apple", ""}, {"apple", "Twin"}, {"Plum Pie", "Twin"}, {"zebra", ""}}));
        // Both of Twin go: the top's entries around them are one folder's.
        entries.erase(1);
        entries.erase(1);
        QCOMPARE(all(entries), (std::vector<GameEntry>{{"apple", ""}, {"zebra", ""}}));
        entries.erase(0);
        entries.erase(0);
        QVERIFY(entries.empty());
        entries.push_back({"added", "Pack/Deep"});
        QCOMPARE(entries[0], (GameEntry{"added", "Pack/Deep"}));
    }

    void append_keepsEachSidesFolders() {
        GameEntries entries = listing();
        entries.erase(0);
        GameEntries more;
        more.push_back({"Added", ""});
        more.push_back({"kiwi", "Twin"});
        entries.append(std::move(more));
        QCOMPARE(all(entries), (std::vector<GameEntry>{{"pear", ""},
                                                       {"apple", "Twin"},
                                                       {"plum", "Twin"},
                                                       {"zebra", ""},
                                                       {"Added", ""},
                                                       {"kiwi", "Twin"}}));
        QVERIFY(more.empty());
        GameEntries same = listing();
        same.erase(0);
        same.push_back({"Added", ""});
        same.push_back({"kiwi", "Twin"});
        QVERIFY(entries == same);
        same.rename(5, "lime");
        QVERIFY(!(entries == same));
    }
};

PELLIWICK_TEST_MAIN(GameEntriesTest)
#include "GameEntriesTest.moc"
