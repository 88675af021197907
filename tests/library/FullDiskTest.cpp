// Copy and move onto a disk that fills up, and a game's save written there:
// the command says so, neither disk keeps half a game, and the save before
// stays whole. The small disk is a tmpfs of 64 KiB, which only
// root may mount.
#include "library/FileSystem.h"
#include "library/SaveStore.h"
#include "support/Snapshot.h"
#include "support/TestMain.h"
#include "support/TreeBuilder.h"

#include <QTest>
#include <filesystem>
#include <sys/mount.h>

namespace {

const std::string Big(200 * 1024, 'x');

class SmallDisk {
public:
    explicit SmallDisk(const std::string& where) : path(where) {
        std::filesystem::create_directories(where);
        mounted = mount("tmpfs", where.c_str(), "tmpfs", 0, "size=64k") == 0;
    }
    ~SmallDisk() {
        if (mounted)
            umount(path.c_str());
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    const std::string path;
    bool mounted = false;
};

} // namespace

class FullDiskTest : public QObject {
    Q_OBJECT
private slots:
    void command_ontoAFullDiskKeepsTheGameWhereItWasAndLeavesNothingThere_data() {
        QTest::addColumn<bool>("move");
        QTest::newRow("copy") << false;
        QTest::newRow("move") << true;
    }
    void command_ontoAFullDiskKeepsTheGameWhereItWasAndLeavesNothingThere() {
        QFETCH(bool, move);
        TreeBuilder tree;
        tree.file("big.swf", Big);
        SmallDisk disk(tree.path("small"));
        if (!disk.mounted)
            QSKIP("needs root: mounting a small tmpfs to fill (run make test as root)");
        const std::string source = tree.path("big.swf");
        const std::string target = disk.path + "/big.swf";
        QCOMPARE(move ? FileSystem::moveNoReplace(source, target)
                      : FileSystem::copyNew(source, target),
                 FileResult::NoSpace);
        QCOMPARE(snapshot(tree.root()),
                 (Snapshot{{"big.swf", Big}, {"small", "<folder or link>"}}));
    }

    void save_ontoAFullDiskKeepsTheSaveBefore() {
        TreeBuilder tree;
        SmallDisk disk(tree.path("small"));
        if (!disk.mounted)
            QSKIP("needs root: mounting a small tmpfs to fill (run make test as root)");
        const SaveStore store(disk.path);
        const SaveStore::Place scores = *SaveStore::placeOf("localhost/g/pong.swf/scores");
        QCOMPARE(store.put(scores, "before"), SaveResult::Done);
        QCOMPARE(store.put(scores, std::string(200 * 1024, 'x')), SaveResult::NoSpace);
        QCOMPARE(snapshot(disk.path + "/localhost/g/pong.swf"),
                 (Snapshot{{"scores.sol", "before"}}));
    }
};

PELLIWICK_TEST_MAIN(FullDiskTest)
#include "FullDiskTest.moc"
