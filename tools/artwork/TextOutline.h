#pragma once

#include <QPainterPath>
#include <QString>

// Lettering for the artwork, as filled outlines of DejaVu Sans Bold. Outlines
// rather than drawText so that neither the desktop's hinting and subpixel
// settings nor its font substitutions change the bytes the generator writes.
class TextOutline {
public:
    // Throws std::runtime_error when DejaVu Sans Bold is not installed, rather
    // than quietly drawing with whatever font would stand in for it.
    static void requireFont();

    // The outline of the text with its baseline at y = 0 and its pen start at
    // x = 0, for a font of the given pixel size.
    static QPainterPath path(const QString& text, int pixelSize);
};
