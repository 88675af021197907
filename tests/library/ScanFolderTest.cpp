#include "library/ScanFolder.h"

#include "support/OrdinaryUser.h"
#include "support/TestMain.h"
#include "support/TreeBuilder.h"

#include <QTest>
#include <fcntl.h>

using Entries = std::vector<std::string>;

namespace {

// The names the scan lists, in its order.
Entries namesOf(const GameEntries& entries) {
    Entries names;
    for (size_t i = 0; i < entries.size(); ++i)
        names.push_back(entries.name(i));
    return names;
}

Entries scan(const std::string& folder) {
    GameEntries entries;
    ScanFolder(folder, entries);
    return namesOf(entries);
}

// The scan as an ordinary user runs it, for the folders that only such a
// user is refused.
Entries scanAsOrdinaryUser(const std::string& folder) {
    const std::optional<std::string> out = asOrdinaryUser([&] {
        std::string lines;
        for (const std::string& entry : scan(folder))
            lines += entry + "\n";
        return lines;
    });
    if (!out)
        return {"<child failed>"};
    Entries entries;
    for (size_t start = 0, end; (end = out->find('\n', start)) != std::string::npos;
         start = end + 1)
        entries.push_back(out->substr(start, end - start));
    return entries;
}

} // namespace

class ScanFolderTest : public QObject {
    Q_OBJECT
private slots:
    void scan_listsGamesLowerCasedWithoutExtension() {
        TreeBuilder tree;
        tree.file("Tennis.SWF");
        tree.file("Chess.swf");
        tree.file("SPACE WAR.swf");
        QCOMPARE(TreeBuilder::list(scan(tree.root())),
                 (QStringList{"chess", "space war", "tennis"}));
    }

    void scan_listsSwfAndJpgTwinsTwice() {
        TreeBuilder tree;
        tree.file("tennis.swf");
        tree.file("Tennis.jpg");
        tree.file("golf.JPG");
        QCOMPARE(TreeBuilder::list(scan(tree.root())), (QStringList{"golf", "tennis", "tennis"}));
    }

    void scan_judgesOnlyTheLastFourCharacters() {
        TreeBuilder tree;
        for (const char* name :
             {".swf", "ab", "swf", "game.swf.jpg", "notes.txt", "movie.swf.bak", "x.swfx", "y.sw"})
            tree.file(name);
        QCOMPARE(TreeBuilder::list(scan(tree.root())), (QStringList{"", "game.swf"}));
    }

    void scan_entersPlainSubfoldersWhereTheyAreMet() {
        TreeBuilder tree;
        tree.file("a.swf");
        tree.folder("Extra");
        tree.file("Extra/Maze.swf");
        tree.folder("Extra/Deeper");
        tree.file("Extra/Deeper/Pong.jpg");
        tree.folder("old.swf");
        tree.file("old.swf/inner.swf");
        tree.file("z.swf");
        QCOMPARE(TreeBuilder::list(scan(tree.root())),
                 (QStringList{"a", "pong", "maze", "inner", "z"}));
    }

    // Each entry keeps the folder its file lies in, as the disk spells it,
    // so that it stands for that file: the name alone would be the same for
    // twins in different folders.
    void scan_entryKeepsItsFolderAsStored() {
        TreeBuilder tree;
        tree.file("Apple.swf");
        tree.folder("Twin");
        tree.file("Twin/Apple.swf");
        tree.folder("Twin/Caf\xC9 & $(x)");
        tree.file("Twin/Caf\xC9 & $(x)/Deep.JPG");
        tree.folder("old.swf");
        tree.file("old.swf/inner.swf");
        GameEntries entries;
        ScanFolder(tree.root(), entries);
        std::vector<GameEntry> found;
        for (size_t i = 0; i < entries.size(); ++i)
            found.push_back(entries[i]);
        QCOMPARE(found, (std::vector<GameEntry>{{"apple", ""},
                                                {"inner", "old.swf"},
                                                {"apple", "Twin"},
                                                {"deep", "Twin/Caf\xC9 & $(x)"}}));
    }

    void scan_hiddenReadOnlyAndLinkedFoldersAreNamesNotFolders() {
        TreeBuilder tree;
        tree.folder(".stash.swf");
        tree.file(".stash.swf/secret.swf");
        tree.file(".Hidden.swf");
        tree.folder("locked.jpg", 0555);
        tree.file("locked.jpg/inside.swf");
        chmod(tree.path("locked.jpg").c_str(), 0555);
        tree.folder("real");
        tree.file("real/game.swf");
        tree.link("linked.swf", "real");
        QCOMPARE(TreeBuilder::list(scan(tree.root())),
                 (QStringList{".hidden", ".stash", "linked", "locked", "game"}));
    }

    void scan_linkLoopsEndAtOnce() {
        TreeBuilder tree;
        tree.folder("sub");
        tree.file("sub/one.swf");
        tree.link("sub/up", "..");
        tree.link("self.swf", ".");
        tree.link("sub/Loop", "../sub");
        QCOMPARE(TreeBuilder::list(scan(tree.root())), (QStringList{"self", "one"}));
    }

    void scan_categoryFolderIsFoundByLinkOrOtherCase() {
        TreeBuilder tree;
        tree.folder("ACTION");
        tree.file("ACTION/pong.swf");
        tree.folder("elsewhere");
        tree.file("elsewhere/golf.swf");
        tree.link("Sport", "elsewhere");
        QCOMPARE(TreeBuilder::list(scan(tree.path("Action"))), (QStringList{"pong"}));
        QCOMPARE(TreeBuilder::list(scan(tree.path("Sport"))), (QStringList{"golf"}));
    }

    void scan_missingFolderAddsNothingAndNothingIsCleared() {
        TreeBuilder tree;
        tree.file("x.swf");
        GameEntries entries;
        entries.push_back("kept", {});
        ScanFolder(tree.path("Board"), entries);
        QCOMPARE(namesOf(entries), (Entries{"kept"}));
        ScanFolder(tree.root(), entries);
        ScanFolder(tree.root(), entries);
        QCOMPARE(namesOf(entries), (Entries{"kept", "x", "x"}));
    }

    void scan_unreadableFolderAddsNothingAndTheScanGoesOn() {
        TreeBuilder tree;
        tree.file("a.swf");
        tree.folder("closed");
        tree.file("closed/hidden-away.swf");
        chmod(tree.path("closed").c_str(), 0000);
        tree.file("z.swf");
        // An ordinary user cannot open "closed"; it is a plain folder, so it
        // is entered, contributes nothing, and the rest is still listed.
        QCOMPARE(TreeBuilder::list(scanAsOrdinaryUser(tree.root())), (QStringList{"a", "z"}));
        chmod(tree.root().c_str(), 0000);
        QCOMPARE(scanAsOrdinaryUser(tree.root()), Entries{});
    }

    void scan_nameThatIsNotUtf8IsListedAsItsBytes() {
        TreeBuilder tree;
        tree.file("Caf\xC9.SWF");
        tree.file("\xFF\xFE.swf");
        QCOMPARE(scan(tree.root()), (Entries{"caf\xC9", "\xFF\xFE"}));
    }

    void scan_veryDeepTreeListsWhatItCanReachAndGoesOn() {
        TreeBuilder tree;
        tree.file("a.swf");
        tree.file("z.swf");
        // Deeper than any path can name: made folder by folder, relative to
        // the one before.
        int fd = open(tree.root().c_str(), O_RDONLY | O_DIRECTORY);
        for (int depth = 1; depth <= 3000 && fd >= 0; ++depth) {
            mkdirat(fd, "d", 0755);
            if (depth == 10 || depth == 3000)
                close(openat(fd, depth == 10 ? "d/shallow.swf" : "d/deep.swf", O_CREAT | O_WRONLY,
                             0644));
            const int next = openat(fd, "d", O_RDONLY | O_DIRECTORY);
            close(fd);
            fd = next;
        }
        close(fd);
        QCOMPARE(TreeBuilder::list(scan(tree.root())), (QStringList{"a", "shallow", "z"}));
    }
};

PELLIWICK_TEST_MAIN(ScanFolderTest)
#include "ScanFolderTest.moc"
