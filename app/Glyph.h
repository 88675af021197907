#pragma once

#include <QIcon>

// A button picture drawn on a background colour: the colour of its lower-left
// pixel is made transparent, so only the symbol shows on the panel.
class Glyph {
public:
    static QIcon icon(const QString& fileName);
};
