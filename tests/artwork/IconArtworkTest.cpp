// The program's icon as the desktop reads it: eight images of the .ico by
// size and depth, upright on transparency, the palettised ones like the
// true-colour ones.
#include "ArtworkFiles.h"
#include "support/TestMain.h"

#include <QHash>
#include <QtTest>

namespace {

struct IconImage {
    int size;
    int bits;
};
const QList<IconImage> IconImages = {{16, 4}, {32, 4},  {16, 8},  {32, 8},
                                     {48, 8}, {16, 32}, {32, 32}, {48, 32}};

QList<QImage> readIcon() {
    return readPictures(QDir(ResourcesDir).filePath(QStringLiteral("pelliwick.ico")));
}

bool opaque(QRgb pixel) {
    return qAlpha(pixel) >= 128;
}

} // namespace

class IconArtworkTest : public QObject {
    Q_OBJECT

private slots:
    void icon_directoryListsEightImagesBySizeAndDepth();
    void icon_everyImageDecodesUprightOnTransparency();
    void icon_palettisedImagesMatchTrueColourOnes();
};

void IconArtworkTest::icon_directoryListsEightImagesBySizeAndDepth() {
    const QByteArray ico = readCommitted(QStringLiteral("pelliwick.ico"));
    QVERIFY(ico.size() > 6 + 8 * 16);
    QCOMPARE(u16(ico, 0), quint16(0));
    QCOMPARE(u16(ico, 2), quint16(1)); // icon, not cursor
    QCOMPARE(u16(ico, 4), quint16(IconImages.size()));

    qsizetype nextData = 6 + 16 * IconImages.size();
    for (int i = 0; i < IconImages.size(); ++i) {
        const auto [size, bits] = IconImages[i];
        const QString which =
            QStringLiteral("image %1 (%2 px, %3 bits)").arg(i).arg(size).arg(bits);
        const qsizetype entry = 6 + 16 * i;
        QCOMPARE(quint8(ico[entry]), quint8(size));
        QCOMPARE(quint8(ico[entry + 1]), quint8(size));
        QCOMPARE(quint8(ico[entry + 2]), quint8(bits == 4 ? 16 : 0));
        QCOMPARE(u16(ico, entry + 4), quint16(1));
        QCOMPARE(u16(ico, entry + 6), quint16(bits));
        const quint32 length = u32(ico, entry + 8);
        const quint32 offset = u32(ico, entry + 12);
        QVERIFY2(offset == nextData, qPrintable(which + " does not follow the one before"));
        QVERIFY2(offset + length <= quint32(ico.size()), qPrintable(which + " runs past the end"));
        nextData = offset + length;

        // The DIB: twice the height for colour image plus mask, palette,
        // colour rows and mask rows each padded to four bytes.
        QCOMPARE(u32(ico, offset), 40u);
        QCOMPARE(i32(ico, offset + 4), size);
        QCOMPARE(i32(ico, offset + 8), size * 2);
        QCOMPARE(u16(ico, offset + 14), quint16(bits));
        QCOMPARE(u32(ico, offset + 16), 0u);
        const int paletteBytes = bits <= 8 ? (1 << bits) * 4 : 0;
        const int colourRow = (size * bits + 31) / 32 * 4;
        const int maskRow = (size + 31) / 32 * 4;
        QCOMPARE(length, quint32(40 + paletteBytes + (colourRow + maskRow) * size));
    }
    QCOMPARE(nextData, ico.size());
}

void IconArtworkTest::icon_everyImageDecodesUprightOnTransparency() {
    const QList<QImage> images = readIcon();
    QCOMPARE(images.size(), IconImages.size());
    for (int i = 0; i < images.size(); ++i) {
        const QImage& image = images[i];
        QVERIFY2(!image.isNull(), qPrintable(QString::number(i)));
        QCOMPARE(image.size(), QSize(IconImages[i].size, IconImages[i].size));
        // The emblem leaves the top-left corner to the desktop.
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QVERIFY(opaque(image.pixel(image.width() / 2, image.height() / 2)));

        // Upright: the folder's warm edge is the top drawn row, the game
        // pad's dark blue-black edge the bottom one.
        QList<int> drawnRows;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (opaque(image.pixel(x, y))) {
                    drawnRows.append(y);
                    break;
                }
            }
        }
        QVERIFY(!drawnRows.isEmpty());
        const auto rowColour = [&image](int y) {
            int red = 0;
            int blue = 0;
            for (int x = 0; x < image.width(); ++x) {
                if (opaque(image.pixel(x, y))) {
                    red += qRed(image.pixel(x, y));
                    blue += qBlue(image.pixel(x, y));
                }
            }
            return std::pair{red, blue};
        };
        const auto [topRed, topBlue] = rowColour(drawnRows.first());
        const auto [bottomRed, bottomBlue] = rowColour(drawnRows.last());
        QVERIFY2(topRed > topBlue && bottomBlue >= bottomRed,
                 qPrintable(QStringLiteral("image %1 is upside down").arg(i)));
    }
}

void IconArtworkTest::icon_palettisedImagesMatchTrueColourOnes() {
    const QList<QImage> images = readIcon();
    QCOMPARE(images.size(), IconImages.size());
    QHash<int, QImage> trueColour;
    for (int i = 0; i < images.size(); ++i) {
        if (IconImages[i].bits == 32)
            trueColour.insert(IconImages[i].size, images[i]);
    }
    for (int i = 0; i < images.size(); ++i) {
        const auto [size, bits] = IconImages[i];
        if (bits == 32)
            continue;
        const QString which = QStringLiteral("%1 px, %2 bits").arg(size).arg(bits);
        const QImage& reference = trueColour.value(size);
        const QImage& image = images[i];
        // The same outline: the mask covers what the alpha channel covers.
        // And about the same colours, with room for the coarser palettes.
        long long difference = 0;
        int shared = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const QRgb want = reference.pixel(x, y);
                const QRgb got = image.pixel(x, y);
                if (opaque(want) != opaque(got))
                    QFAIL(qPrintable(which +
                                     QStringLiteral(": outline differs at %1,%2").arg(x).arg(y)));
                if (!opaque(want))
                    continue;
                ++shared;
                difference += std::abs(qRed(want) - qRed(got)) +
                              std::abs(qGreen(want) - qGreen(got)) +
                              std::abs(qBlue(want) - qBlue(got));
            }
        }
        const double perChannel = double(difference) / (3.0 * shared);
        QVERIFY2(perChannel < (bits == 4 ? 60 : 30),
                 qPrintable(which + QStringLiteral(": colours off by %1").arg(perChannel)));
    }
}

PELLIWICK_TEST_MAIN(IconArtworkTest)
#include "IconArtworkTest.moc"
