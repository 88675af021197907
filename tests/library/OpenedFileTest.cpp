// A file the program is asked to open: whether it can be, and the entry
// that stands for it, checked against what the listing itself lists.
#include "library/OpenedFile.h"

#include "library/CategoryTable.h"
#include "library/FileSystem.h"
#include "library/ScanFolder.h"
#include "support/TestMain.h"
#include "support/TreeBuilder.h"

#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

using Fault = OpenedFile::Fault;
Q_DECLARE_METATYPE(Fault)

namespace {

const QByteArray Odd = "Old Pack $(x) & Caf\xc3\xa9";
const QByteArray Latin1 = "Pok\xe9mon";
const std::optional<OpenedFile::Listed> Unlisted;

// A category's folder as the window lists it.
bool lists(const std::string& programFolder, std::size_t category, const GameEntry& entry) {
    GameEntries entries;
    ScanFolder(programFolder + CategoryTable::folderName(CategoryTable::Captions[category]),
               entries);
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i] == entry)
            return true;
    return false;
}

} // namespace

// What a failed comparison prints.
char* toString(const std::optional<OpenedFile::Listed>& listed) {
    if (!listed)
        return qstrdup("nothing");
    return qstrdup(("category " + std::to_string(listed->category) + ", \"" + listed->entry.name +
                    "\" in \"" + listed->entry.folder + "\"")
                       .c_str());
}

class OpenedFileTest : public QObject {
    Q_OBJECT
private:
    // The program's folder: four of the categories, Board spelled in capitals
    // and Other a link to a folder elsewhere, and files around them.
    TreeBuilder tree_;
    std::string program() const { return tree_.root() + "/"; }

private slots:
    void initTestCase() {
        for (const char* folder :
             {"Action", "Action/Sub", "Action/.stash", "Action/locked", "Sport", "BOARD", "library",
              "library/Sub", "elsewhere", "desktop", "Actionable", "Sport/Ball.swf"})
            tree_.folder(folder);
        tree_.folder(("Sport/" + Odd).toStdString());
        tree_.folder(("Sport/" + Odd + "/" + Latin1).toStdString());
        tree_.link("Other", tree_.path("library"));
        for (const QByteArray& file : QList<QByteArray>{
                 "Action/Chess.swf", "Action/Sub/Maze.swf", "Action/.stash/hidden.swf",
                 "Action/locked/inside.swf", "Action/notes.txt", "Sport/golf.SWF",
                 "Sport/" + Odd + "/" + Latin1 + "/Deep One.swf", "BOARD/go.swf",
                 "library/Sub/y.swf", "elsewhere/free.swf", "elsewhere/data.bin",
                 "Actionable/z.swf", "top.swf"})
            tree_.file(file.toStdString(), "game");
        tree_.link("Action/alias.swf", "Sub/Maze.swf");
        tree_.link("Action/out.swf", tree_.path("elsewhere/free.swf"));
        tree_.link("Action/Linked", ("../Sport/" + Odd).toStdString());
        tree_.link("desktop/golf.swf", tree_.path("Sport/golf.SWF"));
        tree_.link("desktop/pack", tree_.path(("Sport/" + Odd).toStdString()));
        tree_.link("desktop/named.swf", tree_.path("elsewhere/data.bin"));
        tree_.link("desktop/gone.swf", tree_.path("elsewhere/gone.swf"));
        mkfifo(tree_.path("desktop/pipe.swf").c_str(), 0644);
        chmod(tree_.path("Action/locked").c_str(), 0555);
    }

    void fault_saysWhyAPathCannotBeOpened_data() {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<Fault>("fault");
        QTest::newRow("a game") << QByteArray("Action/Chess.swf") << Fault::None;
        QTest::newRow("extension in capitals") << QByteArray("Sport/golf.SWF") << Fault::None;
        QTest::newRow("a link to a game") << QByteArray("desktop/golf.swf") << Fault::None;
        QTest::newRow("no such file") << QByteArray("elsewhere/gone.swf") << Fault::Missing;
        QTest::newRow("a link that leads nowhere")
            << QByteArray("desktop/gone.swf") << Fault::Missing;
        QTest::newRow("through a file") << QByteArray("top.swf/x.swf") << Fault::Missing;
        QTest::newRow("empty") << QByteArray("") << Fault::Missing;
        QTest::newRow("a folder") << QByteArray("Action") << Fault::NotAFile;
        QTest::newRow("a folder named as a game")
            << QByteArray("Sport/Ball.swf") << Fault::NotAFile;
        QTest::newRow("a pipe named as a game")
            << QByteArray("desktop/pipe.swf") << Fault::NotAFile;
        QTest::newRow("a text") << QByteArray("Action/notes.txt") << Fault::NotAGame;
        QTest::newRow("a file of no extension")
            << QByteArray("elsewhere/data.bin") << Fault::NotAGame;
    }
    void fault_saysWhyAPathCannotBeOpened() {
        QFETCH(QByteArray, path);
        QFETCH(Fault, fault);
        const OpenedFile file(path.isEmpty() ? std::string() : tree_.path(path.toStdString()));
        QCOMPARE(file.fault(), fault);
        if (fault != Fault::None)
            QCOMPARE(file.listedIn(program()), Unlisted);
    }

    // Blanks, shell characters and bytes that are not UTF-8 are only bytes.
    void path_isTakenAgainstTheCurrentFolderByItsBytes() {
        const QByteArray sport = QByteArray::fromStdString(tree_.path("Sport"));
        const QByteArray relative = Odd + "/" + Latin1 + "/../" + Latin1 + "/Deep One.swf";
        char before[4096];
        QVERIFY(getcwd(before, sizeof before));
        QCOMPARE(chdir(sport.constData()), 0);
        const OpenedFile file(relative.toStdString());
        QCOMPARE(chdir(before), 0);
        QCOMPARE(QByteArray::fromStdString(file.path()), sport + "/" + relative);
        QCOMPARE(file.fault(), Fault::None);
        QCOMPARE(file.listedIn(program()),
                 (OpenedFile::Listed{4, {"deep one", (Odd + "/" + Latin1).toStdString()}}));
        const std::string absolute = tree_.path("Action/Sub/../Chess.swf");
        QCOMPARE(QByteArray::fromStdString(OpenedFile(absolute).path()),
                 QByteArray::fromStdString(absolute));
    }

    // Each listed entry is also checked against the category's own listing.
    void listedIn_findsTheEntryTheListingHolds_data() {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<int>("category");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("folder");
        QTest::newRow("at a category's top")
            << QByteArray("Action/Chess.swf") << 0 << QByteArray("chess") << QByteArray("");
        QTest::newRow("in another category, extension in capitals")
            << QByteArray("Sport/golf.SWF") << 4 << QByteArray("golf") << QByteArray("");
        QTest::newRow("deep down, in folders of odd names")
            << QByteArray("Sport/") + Odd + "/" + Latin1 + "/Deep One.swf" << 4
            << QByteArray("deep one") << Odd + "/" + Latin1;
        QTest::newRow("a category folder spelled in capitals")
            << QByteArray("BOARD/go.swf") << 5 << QByteArray("go") << QByteArray("");
        QTest::newRow("a category folder that is a link, reached through it")
            << QByteArray("Other/Sub/y.swf") << 6 << QByteArray("y") << QByteArray("Sub");
        QTest::newRow("a category folder that is a link, reached where it leads")
            << QByteArray("library/Sub/y.swf") << 6 << QByteArray("y") << QByteArray("Sub");
        QTest::newRow("a way out and back in")
            << QByteArray("Action/Sub/../Chess.swf") << 0 << QByteArray("chess") << QByteArray("");
        QTest::newRow("a link from elsewhere to a game")
            << QByteArray("desktop/golf.swf") << 4 << QByteArray("golf") << QByteArray("");
        QTest::newRow("through a link from elsewhere to a folder")
            << QByteArray("desktop/pack/") + Latin1 + "/Deep One.swf" << 4 << QByteArray("deep one")
            << Odd + "/" + Latin1;
        QTest::newRow("a link in a category to a game in its subfolder")
            << QByteArray("Action/alias.swf") << 0 << QByteArray("maze") << QByteArray("Sub");
        QTest::newRow("through a link in a category to another's folder")
            << QByteArray("Action/Linked/") + Latin1 + "/Deep One.swf" << 4
            << QByteArray("deep one") << Odd + "/" + Latin1;
    }
    void listedIn_findsTheEntryTheListingHolds() {
        QFETCH(QByteArray, path);
        QFETCH(int, category);
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, folder);
        const OpenedFile file(tree_.path(path.toStdString()));
        QCOMPARE(file.fault(), Fault::None);
        const OpenedFile::Listed expected{std::size_t(category),
                                          {name.toStdString(), folder.toStdString()}};
        QCOMPARE(file.listedIn(program()), expected);
        QVERIFY(lists(program(), expected.category, expected.entry));
    }

    void listedIn_nothingForAFileTheListingDoesNotReach_data() {
        QTest::addColumn<QByteArray>("path");
        QTest::newRow("under no category") << QByteArray("elsewhere/free.swf");
        QTest::newRow("beside the program") << QByteArray("top.swf");
        QTest::newRow("a folder named as a category and more") << QByteArray("Actionable/z.swf");
        QTest::newRow("in a hidden subfolder") << QByteArray("Action/.stash/hidden.swf");
        QTest::newRow("in a read-only subfolder") << QByteArray("Action/locked/inside.swf");
        QTest::newRow("a link in a category to a game elsewhere") << QByteArray("Action/out.swf");
        QTest::newRow("a link named as a game to a file that is not one")
            << QByteArray("desktop/named.swf");
    }
    void listedIn_nothingForAFileTheListingDoesNotReach() {
        QFETCH(QByteArray, path);
        const OpenedFile file(tree_.path(path.toStdString()));
        QCOMPARE(file.fault(), Fault::None);
        QCOMPARE(file.listedIn(program()), Unlisted);
    }

    // Only the folders beside the program are categories: the same file from
    // a program elsewhere is under none.
    void listedIn_takesTheCategoriesOfTheProgramFolderGiven() {
        const OpenedFile file(tree_.path("Action/Chess.swf"));
        QCOMPARE(file.listedIn(tree_.path("Action/")), Unlisted);
        QCOMPARE(file.listedIn(tree_.path("elsewhere/")), Unlisted);
    }
};

PELLIWICK_TEST_MAIN(OpenedFileTest)
#include "OpenedFileTest.moc"
