#pragma once

#include <QList>
#include <QRgb>

// The fixed colour tables of the icon's 16- and 256-colour images. Fixed
// tables rather than ones fitted to the picture, so that old displays showing
// the system palette draw the icon without dithering.
class IndexedPalette {
public:
    // The sixteen VGA colours in the order of the Windows system palette.
    static IndexedPalette vga16();
    // The sixteen VGA colours, the 6 × 6 × 6 colour cube and a 24-step grey ramp.
    static IndexedPalette standard256();

    const QList<QRgb>& colours() const { return m_colours; }

    // The index of the closest colour, weighting green above red above blue
    // the way the eye does; the first of equally close colours wins.
    int nearest(QRgb colour) const;

private:
    explicit IndexedPalette(QList<QRgb> colours) : m_colours(std::move(colours)) {}

    QList<QRgb> m_colours;
};
