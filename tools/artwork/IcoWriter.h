#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

// Builds a Windows .ico file from images of the application emblem. Each image
// is stored as a DIB of twice its height: the colour (XOR) image followed by a
// 1-bit AND mask in which a set bit lets the desktop show through.
class IcoWriter {
public:
    enum class Depth {
        Colours16 = 4,   // 4 bits a pixel, VGA palette
        Colours256 = 8,  // 8 bits a pixel, standard 256-colour palette
        TrueColour = 32, // BGRA with its own alpha
    };

    // Adds an image of at most 255 × 255 pixels. Pixels with alpha below 128
    // are transparent in the mask; palettised images take each other pixel's
    // nearest palette colour.
    void add(const QImage& image, Depth depth);

    QByteArray encode() const;

private:
    struct Entry {
        int width;
        int height;
        Depth depth;
        QByteArray dib;
    };

    static QByteArray dib(const QImage& image, Depth depth);

    QList<Entry> m_entries;
};
