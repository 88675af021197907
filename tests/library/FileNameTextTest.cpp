// A file name's bytes and its text: every name, UTF-8 or not, comes back to
// its bytes exactly from the text that stands for it, and reads as the user
// would read it.
#include "library/FileNameText.h"

#include "support/TestMain.h"

#include <QTest>
#include <random>

class FileNameTextTest : public QObject {
    Q_OBJECT
private slots:
    void exact_comesBackToTheSameBytesForEveryName_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("plain") << QByteArray("tennis.swf");
        QTest::newRow("UTF-8, composed") << QByteArray("caf\xc3\xa9.swf");
        QTest::newRow("UTF-8, decomposed") << QByteArray("cafe\xcc\x81.swf");
        QTest::newRow("beyond the first plane") << QByteArray("\xf0\x9f\x8e\xae.swf");
        QTest::newRow("Latin-1") << QByteArray("Pok\xe9mon.swf");
        QTest::newRow("Windows quotes") << QByteArray("\x93quoted\x94.swf");
        QTest::newRow("overlong slash") << QByteArray("a\xc0\xaf"
                                                      "b.swf");
        QTest::newRow("a surrogate in UTF-8") << QByteArray("a\xed\xb2\x80.swf");
        QTest::newRow("cut short") << QByteArray("caf\xc3");
    }
    void exact_comesBackToTheSameBytesForEveryName() {
        QFETCH(QByteArray, name);
        const std::string bytes = name.toStdString();
        QCOMPARE(FileNameText::bytes(FileNameText::exact(bytes)), bytes);
    }

    void exact_comesBackForAnyBytesAtAll() {
        std::mt19937 random(2026);
        for (int round = 0; round < 20000; ++round) {
            std::string bytes(random() % 12, '\0');
            for (char& byte : bytes)
                byte = char(random() % 256);
            QCOMPARE(FileNameText::bytes(FileNameText::exact(bytes)), bytes);
        }
    }

    void readable_readsStrayBytesAsTheWesternCodePage() {
        QCOMPARE(FileNameText::readable("Pok\xe9mon"), std::u16string(u"Pok\u00e9mon"));
        QCOMPARE(FileNameText::readable("\x93quoted\x94"), std::u16string(u"\u201cquoted\u201d"));
        QCOMPARE(FileNameText::readable("caf\xc3\xa9"), std::u16string(u"caf\u00e9"));
        QCOMPARE(FileNameText::readable("cafe\xcc\x81"), std::u16string(u"cafe\u0301"));
    }

    void bytes_ofTypedTextIsItsUtf8() {
        QCOMPARE(FileNameText::bytes(u"Pok\u00e9mon"), std::string("Pok\xc3\xa9mon"));
        QCOMPARE(FileNameText::bytes(u"\U0001F3AE"), std::string("\xf0\x9f\x8e\xae"));
        // A surrogate no name could have made: not a byte of any name.
        QCOMPARE(FileNameText::bytes(u"a\xdc41"), std::string("a\xef\xbf\xbd"));
    }

    void isUtf8_tellsNamesThatNeedTheirBytesKept() {
        QVERIFY(FileNameText::isUtf8("caf\xc3\xa9"));
        QVERIFY(!FileNameText::isUtf8("Pok\xe9mon"));
        QVERIFY(!FileNameText::isUtf8("a\xc0\xaf"));
    }
};

PELLIWICK_TEST_MAIN(FileNameTextTest)
#include "FileNameTextTest.moc"
