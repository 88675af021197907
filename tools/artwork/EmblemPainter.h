#pragma once

#include <QImage>

class QPainter;

// The program's emblem: a game pad resting on a folder, for the collection of
// games it keeps and plays. It is laid out on a 16 × 16 grid with its edges on
// whole grid lines, so that at 16, 32 and 48 pixels they fall on pixel edges
// and the small icons stay sharp.
class EmblemPainter {
public:
    enum class Style {
        TrueColour, // shaded, for 32-bit icons, the PNGs and the banner
        Colours256, // flat colours of the 6 × 6 × 6 cube
        Colours16,  // flat VGA colours
    };

    // A size × size image with a transparent background.
    static QImage paint(int size, Style style);

    // Draws into the square (0, 0)–(size, size) of an existing painting.
    static void draw(QPainter& painter, int size, Style style);
};
