#pragma once

#include <QByteArray>
#include <QImage>

// Writes the button glyphs as 16-bit BMP files. The buttons read the lower-left
// pixel's colour as their transparent colour, so the image is expected to be
// opaque with the background already painted in.
class BmpWriter {
public:
    // A BITMAPINFOHEADER file with biBitCount 16 and BI_RGB, so each pixel is
    // X1R5G5B5; rows run bottom-up, each padded to a multiple of four bytes.
    static QByteArray encode(const QImage& image);

    // The 15-bit value a colour is stored as, so a caller can tell which
    // colours collapse together after the loss of the low bits.
    static quint16 pack(QRgb colour);
};
