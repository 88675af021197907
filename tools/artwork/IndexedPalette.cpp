#include "IndexedPalette.h"

#include <limits>

IndexedPalette IndexedPalette::vga16() {
    return IndexedPalette({
        qRgb(0, 0, 0),
        qRgb(128, 0, 0),
        qRgb(0, 128, 0),
        qRgb(128, 128, 0),
        qRgb(0, 0, 128),
        qRgb(128, 0, 128),
        qRgb(0, 128, 128),
        qRgb(192, 192, 192),
        qRgb(128, 128, 128),
        qRgb(255, 0, 0),
        qRgb(0, 255, 0),
        qRgb(255, 255, 0),
        qRgb(0, 0, 255),
        qRgb(255, 0, 255),
        qRgb(0, 255, 255),
        qRgb(255, 255, 255),
    });
}

IndexedPalette IndexedPalette::standard256() {
    QList<QRgb> colours = vga16().colours();
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                colours.append(qRgb(r * 51, g * 51, b * 51));
    for (int i = 0; i < 24; ++i)
        colours.append(qRgb(8 + i * 10, 8 + i * 10, 8 + i * 10));
    return IndexedPalette(colours);
}

int IndexedPalette::nearest(QRgb colour) const {
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (int i = 0; i < m_colours.size(); ++i) {
        const int dr = qRed(colour) - qRed(m_colours[i]);
        const int dg = qGreen(colour) - qGreen(m_colours[i]);
        const int db = qBlue(colour) - qBlue(m_colours[i]);
        const int distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}
