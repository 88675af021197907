#include "IcoWriter.h"

#include "IndexedPalette.h"

#include <QDataStream>
#include <QIODevice>
#include <optional>
#include <stdexcept>

namespace {

constexpr quint32 DirectorySize = 6;
constexpr quint32 DirectoryEntrySize = 16;
constexpr quint32 InfoHeaderSize = 40;

quint32 rowBytes(int width, int bitsPerPixel) {
    return ((quint32(width) * quint32(bitsPerPixel) + 31) / 32) * 4;
}

bool transparent(QRgb pixel) {
    return qAlpha(pixel) < 128;
}

} // namespace

void IcoWriter::add(const QImage& image, Depth depth) {
    if (image.width() < 1 || image.width() > 255 || image.height() < 1 || image.height() > 255)
        throw std::invalid_argument("icon images must be 1 to 255 pixels on a side");
    m_entries.append({image.width(), image.height(), depth, dib(image, depth)});
}

QByteArray IcoWriter::encode() const {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);

    // ICONDIR: reserved, type 1 (icon), image count.
    out << quint16(0) << quint16(1) << quint16(m_entries.size());

    quint32 offset = DirectorySize + DirectoryEntrySize * quint32(m_entries.size());
    for (const Entry& entry : m_entries) {
        const int bits = int(entry.depth);
        // A full 256-entry palette and true colour both say 0 colours.
        const quint8 colourCount = bits < 8 ? quint8(1 << bits) : 0;
        out << quint8(entry.width) << quint8(entry.height) << colourCount << quint8(0) << quint16(1)
            << quint16(bits) << quint32(entry.dib.size()) << offset;
        offset += quint32(entry.dib.size());
    }
    for (const Entry& entry : m_entries)
        out.writeRawData(entry.dib.constData(), int(entry.dib.size()));
    return bytes;
}

QByteArray IcoWriter::dib(const QImage& image, Depth depth) {
    const QImage source = image.convertToFormat(QImage::Format_ARGB32);
    const int width = source.width();
    const int height = source.height();
    const int bits = int(depth);
    const quint32 colourRow = rowBytes(width, bits);
    const quint32 maskRow = rowBytes(width, 1);
    const quint32 imageBytes = (colourRow + maskRow) * quint32(height);

    std::optional<IndexedPalette> indexed;
    if (depth == Depth::Colours16)
        indexed = IndexedPalette::vga16();
    else if (depth == Depth::Colours256)
        indexed = IndexedPalette::standard256();

    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);

    // BITMAPINFOHEADER; the height counts the colour image and the mask.
    out << InfoHeaderSize << qint32(width) << qint32(height * 2) << quint16(1) << quint16(bits)
        << quint32(0) << imageBytes << qint32(0) << qint32(0)
        << quint32(indexed ? indexed->colours().size() : 0) << quint32(0);
    if (indexed) {
        for (QRgb colour : indexed->colours())
            out << quint8(qBlue(colour)) << quint8(qGreen(colour)) << quint8(qRed(colour))
                << quint8(0);
    }

    // The colour image, bottom-up. Transparent pixels are black (index 0) in
    // the palettised images so that AND-then-XOR leaves the desktop untouched.
    for (int y = height - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        QByteArray row(int(colourRow), '\0');
        auto* data = reinterpret_cast<uchar*>(row.data());
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = line[x];
            if (depth == Depth::TrueColour) {
                data[x * 4] = uchar(qBlue(pixel));
                data[x * 4 + 1] = uchar(qGreen(pixel));
                data[x * 4 + 2] = uchar(qRed(pixel));
                data[x * 4 + 3] = uchar(qAlpha(pixel));
                continue;
            }
            const int index = transparent(pixel) ? 0 : indexed->nearest(pixel);
            if (depth == Depth::Colours256)
                data[x] = uchar(index);
            else
                data[x / 2] |= uchar(x % 2 == 0 ? index << 4 : index);
        }
        out.writeRawData(row.constData(), int(row.size()));
    }

    // The AND mask, bottom-up, most significant bit leftmost.
    for (int y = height - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        QByteArray row(int(maskRow), '\0');
        for (int x = 0; x < width; ++x) {
            if (transparent(line[x]))
                row[x / 8] = char(uchar(row[x / 8]) | (0x80 >> (x % 8)));
        }
        out.writeRawData(row.constData(), int(row.size()));
    }
    return bytes;
}
