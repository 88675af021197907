// The seven categories live in the category table; the scripts and pages that
// must name their folders without it (the package's launcher, the demo
// library, the manual page, the README, the package's tests) are checked
// against it here, so that a category changed in one place fails the build's
// tests until every copy follows.
#include "library/CategoryTable.h"

#include "support/TestMain.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

class CategoryTableTest : public QObject {
    Q_OBJECT
private:
    static QStringList folders() {
        QStringList folders;
        for (const std::string_view caption : CategoryTable::Captions)
            folders << QString::fromStdString(CategoryTable::folderName(caption));
        return folders;
    }

private slots:
    void folderName_isTheCaptionBeforeItsFirstBlank() {
        QCOMPARE(folders(), QStringList({"Action", "Adventure", "Classic", "Shooting", "Sport",
                                         "Board", "Other"}));
        QCOMPARE(CategoryTable::folderName("Odd"), std::string("Odd"));
    }

    void everyCopyOfTheFolders_namesThemInTheTablesOrder_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("pattern"); // each match is one list of folders
        QTest::addColumn<QString>("separator");
        const QString loop = QStringLiteral("for category in ([A-Za-z ]+); do");
        QTest::newRow("launcher") << "app/pelliwick-launcher.sh" << loop << " ";
        QTest::newRow("demo library") << "tools/make-demo-library.sh" << loop << " ";
        QTest::newRow("package test") << "tests/e2e/package.sh" << loop << " ";
        QTest::newRow("package trial") << "tools/try-package-on-clean-debian.sh" << loop << " ";
        QTest::newRow("README, the folders") << "README.md"
                                             << "\\n    (Action +[A-Za-z ]+)\\n"
                                             << " ";
        QTest::newRow("README, mkdir") << "README.md"
                                       << "/\\{([A-Za-z,]+)\\}"
                                       << ",";
        QTest::newRow("manual page") << "resources/package/pelliwick.6.in"
                                     << "category folders\\n((?:\\.BR? \\w+ ?,?\\n|and\\n)+)"
                                     << "\n";
    }
    void everyCopyOfTheFolders_namesThemInTheTablesOrder() {
        QFETCH(QString, file);
        QFETCH(QString, pattern);
        QFETCH(QString, separator);
        QFile text(QStringLiteral(PELLIWICK_SOURCE_DIR "/") + file);
        QVERIFY2(text.open(QIODevice::ReadOnly), qPrintable(file));
        const QString contents = QString::fromUtf8(text.readAll());
        auto matches = QRegularExpression(pattern).globalMatch(contents);
        QVERIFY2(matches.hasNext(), qPrintable(file + " names no folders"));
        while (matches.hasNext()) {
            QStringList named;
            for (QString word : matches.next().captured(1).split(separator, Qt::SkipEmptyParts)) {
                word.remove(QRegularExpression(QStringLiteral("^\\.BR? |[ ,]")));
                if (!word.isEmpty() && word != QLatin1String("and"))
                    named << word;
            }
            QCOMPARE(named, folders());
        }
    }
};

PELLIWICK_TEST_MAIN(CategoryTableTest)
#include "CategoryTableTest.moc"
