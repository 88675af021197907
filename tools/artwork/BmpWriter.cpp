#include "BmpWriter.h"

#include <QDataStream>
#include <QIODevice>

namespace {

constexpr quint32 FileHeaderSize = 14;
constexpr quint32 InfoHeaderSize = 40;
constexpr quint16 BitsPerPixel = 16;
constexpr quint32 BiRgb = 0;
// 96 dots per inch, what a screen grab would say; nothing reads it.
constexpr qint32 PixelsPerMetre = 3780;

// Rounds instead of truncating so that 255 stays at 31 and mid greys stay mid.
quint16 fiveBits(int channel) {
    return quint16((channel * 31 + 127) / 255);
}

} // namespace

quint16 BmpWriter::pack(QRgb colour) {
    return quint16(fiveBits(qRed(colour)) << 10 | fiveBits(qGreen(colour)) << 5 |
                   fiveBits(qBlue(colour)));
}

QByteArray BmpWriter::encode(const QImage& image) {
    const QImage source = image.convertToFormat(QImage::Format_RGB32);
    const int width = source.width();
    const int height = source.height();
    const quint32 rowBytes = (quint32(width) * 2 + 3) & ~3u;
    const quint32 pixelBytes = rowBytes * quint32(height);

    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);

    // BITMAPFILEHEADER
    out << quint8('B') << quint8('M') << quint32(FileHeaderSize + InfoHeaderSize + pixelBytes)
        << quint16(0) << quint16(0) << quint32(FileHeaderSize + InfoHeaderSize);
    // BITMAPINFOHEADER; a positive height means the rows are stored bottom-up.
    out << InfoHeaderSize << qint32(width) << qint32(height) << quint16(1) << BitsPerPixel << BiRgb
        << pixelBytes << PixelsPerMetre << PixelsPerMetre << quint32(0) << quint32(0);

    const int padding = int(rowBytes) - width * 2;
    for (int y = height - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int x = 0; x < width; ++x)
            out << pack(line[x]);
        for (int i = 0; i < padding; ++i)
            out << quint8(0);
    }
    return bytes;
}
