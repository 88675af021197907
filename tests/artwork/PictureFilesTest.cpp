// The other pictures as the desktop and the About box take them: the JPEG
// banner, the emblem's PNGs, and the resource list that builds them all in.
#include "ArtworkFiles.h"
#include "support/TestMain.h"

#include <QSet>
#include <QXmlStreamReader>
#include <QtTest>

class PictureFilesTest : public QObject {
    Q_OBJECT

private slots:
    void banner_isJpegOf223By63();
    void emblemPngs_areTransparentAt48And256();
    void resourceList_namesEveryPictureUnderRoot();
};

void PictureFilesTest::banner_isJpegOf223By63() {
    const QString path = QDir(ResourcesDir).filePath(QStringLiteral("banner.jpg"));
    QImageReader reader(path);
    QCOMPARE(reader.format(), QByteArray("jpeg"));
    QCOMPARE(reader.size(), QSize(223, 63));
    const QImage banner = reader.read();
    QVERIFY2(!banner.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(banner.size(), QSize(223, 63));
}

void PictureFilesTest::emblemPngs_areTransparentAt48And256() {
    const QList<std::pair<QString, int>> pngs = {{QStringLiteral("pelliwick.png"), 48},
                                                 {QStringLiteral("pelliwick-256.png"), 256}};
    for (const auto& [name, size] : pngs) {
        QImageReader reader(QDir(ResourcesDir).filePath(name));
        QCOMPARE(reader.format(), QByteArray("png"));
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(name + ": " + reader.errorString()));
        QCOMPARE(image.size(), QSize(size, size));
        QVERIFY(image.hasAlphaChannel());
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
    }
}

void PictureFilesTest::resourceList_namesEveryPictureUnderRoot() {
    QXmlStreamReader xml(readCommitted(ResourceList));
    QStringList files;
    QString prefix;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("RCC"))
            continue;
        if (xml.name() == QLatin1String("qresource")) {
            prefix = xml.attributes().value(QLatin1String("prefix")).toString();
            while (xml.readNextStartElement()) {
                QCOMPARE(xml.name(), QLatin1String("file"));
                files.append(xml.readElementText());
            }
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(prefix, QStringLiteral("/"));
    QCOMPARE(QSet<QString>(files.begin(), files.end()),
             QSet<QString>(Pictures.begin(), Pictures.end()));
    QCOMPARE(files.size(), Pictures.size());
}

PELLIWICK_TEST_MAIN(PictureFilesTest)
#include "PictureFilesTest.moc"
