// Flash's save files as the user brings them in: a file is taken only when
// it is a whole .sol file the engine can read back, of either AMF version;
// anything cut short, padded, or made to exhaust the reader is not.
#include "library/SolFile.h"

#include "support/SolBytes.h"
#include "support/TestMain.h"

#include <QTest>

namespace {

QByteArray sol(const QByteArray& name, int version, const QByteArray& body) {
    return solFile(name, version, body);
}
std::string bytes(const QByteArray& file) {
    return file.toStdString();
}

// As the engine writes a game's save: AMF 3, "runs" = 1.
const QByteArray EngineBody("\x09runs\x04\x01\x00", 8);

} // namespace

class SolFileTest : public QObject {
    Q_OBJECT
private slots:
    void nameOf_takesWholeFilesOfBothVersions_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("as the engine writes it")
            << sol("progress", 3, EngineBody) << QByteArray("progress");
        QTest::newRow("no values") << sol("empty", 3, {}) << QByteArray("empty");
        // Older games' AMF 0: a number, a string, an object with an array
        // in it, each value followed by its byte.
        QTest::newRow("AMF 0")
            << sol("old", 0,
                   // score = 100, name = "Ann", deep = {a: null}, each followed by its byte.
                   QByteArray("\x00\x05"
                              "score"
                              "\x00\x40\x59\x00\x00\x00\x00\x00\x00"
                              "\x00",
                              17) +
                       QByteArray("\x00\x04"
                                  "name"
                                  "\x02\x00\x03"
                                  "Ann"
                                  "\x00",
                                  13) +
                       QByteArray("\x00\x04"
                                  "deep"
                                  "\x03\x00\x01"
                                  "a"
                                  "\x05\x00\x00\x09"
                                  "\x00",
                                  15))
            << QByteArray("old");
        // AMF 3 with what refers back: a string, an object and its traits
        // read before, a date, a byte array and a vector.
        QTest::newRow("AMF 3 references")
            << sol("levels/one", 3,
                   // level = {x: 5} (traits inline), then the same traits by reference
                   QByteArray("\x0B"
                              "level"
                              "\x0A\x13\x01\x03"
                              "x"
                              "\x04\x05"
                              "\x00",
                              14) +
                       QByteArray("\x00\x0A\x01\x04\x07"
                                  "\x00",
                                  6) +
                       // the string "level" by reference, as a name and as a value
                       QByteArray("\x00\x06\x00"
                                  "\x00",
                                  4) +
                       QByteArray("\x09"
                                  "when"
                                  "\x08\x01\x42\x77\x00\x00\x00\x00\x00\x00"
                                  "\x00",
                                  16) +
                       QByteArray("\x0B"
                                  "bytes"
                                  "\x0C\x05\xAB\xCD"
                                  "\x00",
                                  11) +
                       QByteArray("\x09"
                                  "list"
                                  "\x0D\x05\x00"
                                  "\x00\x00\x00\x01\x00\x00\x00\x02"
                                  "\x00",
                                  17))
            << QByteArray("levels/one");
    }
    void nameOf_takesWholeFilesOfBothVersions() {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, name);
        QCOMPARE(SolFile::nameOf(bytes(file)), std::optional(name.toStdString()));
    }

    void nameOf_refusesWhatIsNoWholeSave_data() {
        const QByteArray good = sol("progress", 3, EngineBody);
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("text") << QByteArray("not a shared object at all, just some words");
        QTest::newRow("cut short") << good.left(good.size() - 3);
        QTest::newRow("one byte more") << good + QByteArray(1, '\0');
        QTest::newRow("length field wrong") << QByteArray(good).replace(5, 1, "\x40");
        QTest::newRow("not TCSO") << QByteArray(good).replace(6, 4, "TCSX");
        QTest::newRow("AMF version 2") << sol("x", 2, EngineBody);
        QTest::newRow("no name") << sol("", 3, EngineBody);
        QTest::newRow("value cut short") << sol("x", 3, QByteArray("\x09runs\x05\x01\x02", 8));
        QTest::newRow("byte after a value not 0")
            << sol("x", 3, QByteArray("\x09runs\x04\x01\x07", 8));
        QTest::newRow("unknown marker") << sol("x", 3, QByteArray("\x09runs\x42\x00", 7));
        QTest::newRow("string reference to nothing")
            << sol("x", 3, QByteArray("\x02\x04\x01\x00", 4));
        QTest::newRow("object reference to nothing")
            << sol("x", 3, QByteArray("\x03x\x0A\x02\x00", 5));
        QTest::newRow("class that writes itself") << sol("x", 3,
                                                         QByteArray("\x03x\x0A\x07\x03"
                                                                    "C\x00\x00",
                                                                    8));
        QTest::newRow("array counting past the end")
            << sol("x", 3, QByteArray("\x03x\x09\xFF\xFF\xFF\x7F\x01\x00", 9));
        QTest::newRow("AMF 0 object without its end") << sol("x", 0,
                                                             QByteArray("\x00\x01x\x03\x00\x01"
                                                                        "a\x05\x00",
                                                                        9));
        // Arrays in arrays, a thousand deep: a reader that followed would
        // run out of stack.
        QByteArray deep("\x03x", 2);
        for (int i = 0; i < 1000; ++i)
            deep += QByteArray("\x09\x03\x01", 3);
        QTest::newRow("nested a thousand deep")
            << sol("x", 3, deep + QByteArray(1000, '\x01') + '\0');
    }
    void nameOf_refusesWhatIsNoWholeSave() {
        QFETCH(QByteArray, file);
        QCOMPARE(SolFile::nameOf(bytes(file)), std::nullopt);
    }
};

PELLIWICK_TEST_MAIN(SolFileTest)
#include "SolFileTest.moc"
