// The SWF writer's command line: the movie it writes is the one the library
// makes for those arguments, put into place whole; bad arguments and a place
// that cannot be written are refused with a word. What the movies do when
// played (a colour, a key, a movie that loads another) the player's tests
// check in the engine itself.
#include "DemoMovies.h"
#include "support/TestMain.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int exitCode;
    QString errors;
};

Run runTool(const QStringList& arguments) {
    QProcess tool;
    tool.start(QStringLiteral(PELLIWICK_SWF), arguments);
    if (!tool.waitForFinished(10000) || tool.exitStatus() != QProcess::NormalExit)
        return {-1, tool.errorString()};
    return {tool.exitCode(), QString::fromLocal8Bit(tool.readAllStandardError())};
}

QByteArray bytes(const std::vector<std::uint8_t>& movie) {
    return QByteArray(reinterpret_cast<const char*>(movie.data()), qsizetype(movie.size()));
}

const Rgb Red{0xFF, 0x00, 0x00};
const Rgb Teal{0x12, 0x80, 0x7F};

} // namespace

class SwfWriterTest : public QObject {
    Q_OBJECT
private slots:
    void cli_writesTheMovieTheLibraryMakes_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("fileExists");
        QTest::addColumn<QByteArray>("movie");
        QTest::newRow("solid") << QStringList{"solid", "--color", "FF0000"} << false
                               << bytes(DemoMovies::solid(Red, 320, 240));
        QTest::newRow("solid sized, lower case")
            << QStringList{"solid", "--width", "100", "--color", "12807f", "--height", "50"}
            << false << bytes(DemoMovies::solid(Teal, 100, 50));
        QTest::newRow("keyswitch largest")
            << QStringList{"keyswitch", "--key-color", "12807F",   "--color", "FF0000",
                           "--width",   "2880",        "--height", "2880"}
            << false << bytes(DemoMovies::keySwitch(Red, Teal, 2880, 2880));
        QTest::newRow("replaces existing file") << QStringList{"solid", "--color", "12807F"} << true
                                                << bytes(DemoMovies::solid(Teal, 320, 240));
        QTest::newRow("loader")
            << QStringList{"loader", "--color", "12807F", "--url", "http://127.0.0.1:9/x.swf"}
            << false << bytes(DemoMovies::loader(Teal, "http://127.0.0.1:9/x.swf", 320, 240));
    }
    void cli_writesTheMovieTheLibraryMakes() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, fileExists);
        QFETCH(QByteArray, movie);
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("movie.swf")));
        if (fileExists) {
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(5000, 'x'));
            file.close();
        }
        const Run run = runTool(arguments << QStringLiteral("--out") << file.fileName());
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.errors.isEmpty(), qPrintable(run.errors));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), movie);
        // The temporary file was renamed into place, not left behind.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"movie.swf"});
    }

    void cli_rejectsBadArguments_data() {
        QTest::addColumn<QStringList>("arguments"); // OUT stands for the target file
        const QString out = QStringLiteral("OUT");
        QTest::newRow("nothing") << QStringList{};
        QTest::newRow("unknown kind") << QStringList{"plasma", "--color", "FF0000", "--out", out};
        QTest::newRow("no out") << QStringList{"solid", "--color", "FF0000"};
        QTest::newRow("out without value") << QStringList{"solid", "--color", "FF0000", "--out"};
        QTest::newRow("no colour") << QStringList{"solid", "--out", out};
        QTest::newRow("short colour") << QStringList{"solid", "--color", "FF000", "--out", out};
        QTest::newRow("hash colour") << QStringList{"solid", "--color", "#FF0000", "--out", out};
        QTest::newRow("not hex") << QStringList{"solid", "--color", "GG0000", "--out", out};
        QTest::newRow("colour twice")
            << QStringList{"solid", "--color", "FF0000", "--color", "00FF00", "--out", out};
        QTest::newRow("keyswitch without key colour")
            << QStringList{"keyswitch", "--color", "FF0000", "--out", out};
        QTest::newRow("loader without url")
            << QStringList{"loader", "--color", "FF0000", "--out", out};
        QTest::newRow("solid with url")
            << QStringList{"solid", "--color", "FF0000", "--url", "x.swf", "--out", out};
        QTest::newRow("solid with key colour")
            << QStringList{"solid", "--color", "FF0000", "--key-color", "00FF00", "--out", out};
        QTest::newRow("unknown option")
            << QStringList{"solid", "--color", "FF0000", "--fps", "30", "--out", out};
        for (const char* width : {"0", "2881", "-5", "24O", ""})
            QTest::addRow("width '%s'", width)
                << QStringList{"solid", "--color", "FF0000", "--width", width, "--out", out};
    }
    void cli_rejectsBadArguments() {
        QFETCH(QStringList, arguments);
        QTemporaryDir dir;
        for (QString& argument : arguments)
            argument = argument == "OUT" ? dir.filePath("movie.swf") : argument;
        const Run run = runTool(arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.errors.contains("usage:"), qPrintable(run.errors));
        QVERIFY(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    }

    void cli_failsWhenFileCannotBeWritten_data() {
        // Tests may run as root, for whom a read-only folder is still writable.
        QTest::addColumn<QString>("out");
        QTest::newRow("missing folder") << "/nonexistent-pelliwick-folder/movie.swf";
        QTest::newRow("proc") << "/proc/movie.swf";
    }
    void cli_failsWhenFileCannotBeWritten() {
        QFETCH(QString, out);
        const Run run = runTool({"solid", "--color", "FF0000", "--out", out});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.errors.contains(out), qPrintable(run.errors));
        QVERIFY(!run.errors.contains("usage:"));
    }
};

PELLIWICK_TEST_MAIN(SwfWriterTest)
#include "SwfWriterTest.moc"
