// The buttons' glyphs read back as the program reads them: 16-bit BMPs keyed
// on their lower-left pixel, each symbol in its colour and the right way up.
#include "ArtworkFiles.h"
#include "support/TestMain.h"

#include <QColor>
#include <QMap>
#include <QtTest>

namespace {

// A 16-bit X1R5G5B5 BMP decoded by hand, so that the tests see exactly what
// is stored rather than what a reader makes of it.
struct Glyph16 {
    int width = 0;
    int height = 0;
    QList<quint16> pixels; // top-down, left to right

    quint16 at(int x, int y) const { return pixels[y * width + x]; }
    quint16 lowerLeft() const { return at(0, height - 1); }

    static QRgb expand(quint16 pixel) {
        const auto channel = [](int five) {
            return (five * 255 + 15) / 31;
        };
        return qRgb(channel(pixel >> 10 & 31), channel(pixel >> 5 & 31), channel(pixel & 31));
    }
};

Glyph16 decodeGlyph(const QByteArray& bytes) {
    Glyph16 glyph;
    glyph.width = i32(bytes, 18);
    glyph.height = i32(bytes, 22);
    const int rowBytes = (glyph.width * 2 + 3) & ~3;
    const quint32 pixelsAt = u32(bytes, 10);
    glyph.pixels.resize(glyph.width * glyph.height);
    for (int y = 0; y < glyph.height; ++y) {
        const qsizetype row = pixelsAt + qsizetype(glyph.height - 1 - y) * rowBytes;
        for (int x = 0; x < glyph.width; ++x)
            glyph.pixels[y * glyph.width + x] = u16(bytes, row + x * 2);
    }
    return glyph;
}

constexpr quint16 Magenta16 = 0x7c1f;

// How far a colour is from the key colour, and whether it leans towards it:
// a symbol pixel blended with magenta has red and blue both well above green.
bool pinkish(QRgb colour) {
    const int dr = 255 - qRed(colour);
    const int dg = qGreen(colour);
    const int db = 255 - qBlue(colour);
    const bool nearMagenta = dr * dr + dg * dg + db * db < 120 * 120;
    const bool magentaCast = std::min(qRed(colour), qBlue(colour)) - qGreen(colour) > 40;
    return nearMagenta || magentaCast;
}

enum class Hue { Other, Red, Yellow, Green, Blue };

Hue hueOf(QRgb colour) {
    const QColor c = QColor::fromRgb(colour);
    if (c.hsvSaturation() < 80 || c.value() < 60)
        return Hue::Other;
    const int h = c.hsvHue();
    if (h < 20 || h >= 340)
        return Hue::Red;
    if (h >= 35 && h < 70)
        return Hue::Yellow;
    if (h >= 80 && h < 160)
        return Hue::Green;
    if (h >= 190 && h < 250)
        return Hue::Blue;
    return Hue::Other;
}

} // namespace

Q_DECLARE_METATYPE(Hue)

class GlyphArtworkTest : public QObject {
    Q_OBJECT

private slots:
    void glyphs_data();
    void glyphs_headerIsSixteenBitRgbOfTheirSize_data() { glyphs_data(); }
    void glyphs_headerIsSixteenBitRgbOfTheirSize();
    void glyphs_qtReadsTheSamePixels_data() { glyphs_data(); }
    void glyphs_qtReadsTheSamePixels();
    void glyphs_lowerLeftPixelIsMagenta_data() { glyphs_data(); }
    void glyphs_lowerLeftPixelIsMagenta();
    void glyphs_symbolHasNoPinkishFringe_data() { glyphs_data(); }
    void glyphs_symbolHasNoPinkishFringe();
    void glyphs_symbolIsMostlyItsColour_data() { glyphs_data(); }
    void glyphs_symbolIsMostlyItsColour();

    void moveGlyph_arrowPointsRight();
    void aboutGlyph_questionMarkStandsUpright();
};

void GlyphArtworkTest::glyphs_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("size");
    QTest::addColumn<Hue>("hue");
    QTest::newRow("add") << "glyph-add.bmp" << 16 << Hue::Green;
    QTest::newRow("delete") << "glyph-delete.bmp" << 16 << Hue::Red;
    QTest::newRow("modify") << "glyph-modify.bmp" << 16 << Hue::Green;
    QTest::newRow("move") << "glyph-move.bmp" << 24 << Hue::Green;
    QTest::newRow("tell a friend") << "glyph-tell-a-friend.bmp" << 32 << Hue::Yellow;
    QTest::newRow("about") << "glyph-about.bmp" << 32 << Hue::Blue;
}

void GlyphArtworkTest::glyphs_headerIsSixteenBitRgbOfTheirSize() {
    QFETCH(QString, name);
    QFETCH(int, size);
    const QByteArray bytes = readCommitted(name);
    QVERIFY(bytes.size() >= 54);
    QCOMPARE(bytes.left(2), QByteArray("BM"));
    QCOMPARE(u32(bytes, 2), quint32(bytes.size()));
    QCOMPARE(u32(bytes, 10), 54u); // no palette or masks between header and pixels
    QCOMPARE(u32(bytes, 14), 40u); // BITMAPINFOHEADER
    QCOMPARE(i32(bytes, 18), size);
    QCOMPARE(i32(bytes, 22), size); // positive: bottom-up
    QCOMPARE(u16(bytes, 26), quint16(1));
    QCOMPARE(u16(bytes, 28), quint16(16));
    QCOMPARE(u32(bytes, 30), 0u); // BI_RGB, so X1R5G5B5
    const int rowBytes = (size * 2 + 3) & ~3;
    QCOMPARE(bytes.size(), 54 + rowBytes * size);
}

void GlyphArtworkTest::glyphs_qtReadsTheSamePixels() {
    QFETCH(QString, name);
    const Glyph16 glyph = decodeGlyph(readCommitted(name));
    const QImage image(QDir(ResourcesDir).filePath(name));
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), QSize(glyph.width, glyph.height));
    for (int y = 0; y < glyph.height; ++y) {
        for (int x = 0; x < glyph.width; ++x) {
            // Qt widens five bits by shifting, so compare the top five bits.
            const QRgb seen = image.pixel(x, y);
            const quint16 stored = glyph.at(x, y);
            const quint16 reread =
                quint16((qRed(seen) >> 3) << 10 | (qGreen(seen) >> 3) << 5 | qBlue(seen) >> 3);
            if (reread != stored)
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2 stored %3, read as %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(stored, 4, 16)
                                     .arg(reread, 4, 16)));
        }
    }
}

void GlyphArtworkTest::glyphs_lowerLeftPixelIsMagenta() {
    QFETCH(QString, name);
    const Glyph16 glyph = decodeGlyph(readCommitted(name));
    QCOMPARE(glyph.lowerLeft(), Magenta16);
    QCOMPARE(Glyph16::expand(glyph.lowerLeft()), qRgb(255, 0, 255));
}

void GlyphArtworkTest::glyphs_symbolHasNoPinkishFringe() {
    QFETCH(QString, name);
    const Glyph16 glyph = decodeGlyph(readCommitted(name));
    for (int y = 0; y < glyph.height; ++y) {
        for (int x = 0; x < glyph.width; ++x) {
            const quint16 pixel = glyph.at(x, y);
            if (pixel == Magenta16)
                continue;
            const QRgb colour = Glyph16::expand(pixel);
            if (pinkish(colour))
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2 is pinkish: %3")
                                     .arg(x)
                                     .arg(y)
                                     .arg(QColor(colour).name())));
        }
    }
}

void GlyphArtworkTest::glyphs_symbolIsMostlyItsColour() {
    QFETCH(QString, name);
    QFETCH(int, size);
    QFETCH(Hue, hue);
    const Glyph16 glyph = decodeGlyph(readCommitted(name));
    QMap<Hue, int> counts;
    int symbol = 0;
    for (quint16 pixel : glyph.pixels) {
        if (pixel == Magenta16)
            continue;
        ++symbol;
        ++counts[hueOf(Glyph16::expand(pixel))];
    }
    // Enough of the square is drawn on to be seen, and most of it in its colour.
    QVERIFY2(symbol >= size * size / 8, qPrintable(QString::number(symbol)));
    QVERIFY2(counts.value(hue) * 2 > symbol,
             qPrintable(QStringLiteral("%1 of %2").arg(counts.value(hue)).arg(symbol)));
}

void GlyphArtworkTest::moveGlyph_arrowPointsRight() {
    const Glyph16 glyph = decodeGlyph(readCommitted(QStringLiteral("glyph-move.bmp")));
    // Left to right: the shaft's tail, the head, taller than the shaft, and the
    // tip, the rightmost drawn column, a short run about the middle row.
    QList<std::pair<int, QList<int>>> columns; // x, the drawn rows in it
    for (int x = 0; x < glyph.width; ++x) {
        QList<int> rows;
        for (int y = 0; y < glyph.height; ++y) {
            if (glyph.at(x, y) != Magenta16)
                rows.append(y);
        }
        if (!rows.isEmpty())
            columns.append({x, rows});
    }
    QVERIFY(columns.size() > glyph.width / 2);
    const auto tallest = std::max_element(columns.begin(), columns.end(), [](auto& a, auto& b) {
        return a.second.size() < b.second.size();
    });
    const auto& [tailX, tail] = columns.first();
    const auto& [tipX, tip] = columns.last();
    QVERIFY2(tail.size() < tallest->second.size() && tailX < tallest->first,
             "the tail is not the shaft's end");
    QVERIFY2(tip.size() <= 4 && tipX > tallest->first, "the tip is not a point right of the head");
    const double middle = (tip.first() + tip.last()) / 2.0;
    QVERIFY2(std::abs(middle - (glyph.height - 1) / 2.0) <= 1.5,
             qPrintable(QString::number(middle)));
}

void GlyphArtworkTest::aboutGlyph_questionMarkStandsUpright() {
    const Glyph16 glyph = decodeGlyph(readCommitted(QStringLiteral("glyph-about.bmp")));
    // Rows holding white split into two runs: the hook above, the dot below.
    QList<std::pair<int, int>> runs; // first row, row count
    for (int y = 0; y < glyph.height; ++y) {
        bool white = false;
        for (int x = 0; x < glyph.width && !white; ++x) {
            const QRgb colour = Glyph16::expand(glyph.at(x, y));
            white = qRed(colour) > 220 && qGreen(colour) > 220 && qBlue(colour) > 220;
        }
        if (!white)
            continue;
        if (!runs.isEmpty() && runs.last().first + runs.last().second == y)
            ++runs.last().second;
        else
            runs.append({y, 1});
    }
    QCOMPARE(runs.size(), 2);
    QVERIFY2(
        runs[0].second > 2 * runs[1].second,
        qPrintable(
            QStringLiteral("hook %1 rows, dot %2 rows").arg(runs[0].second).arg(runs[1].second)));
}

PELLIWICK_TEST_MAIN(GlyphArtworkTest)
#include "GlyphArtworkTest.moc"
