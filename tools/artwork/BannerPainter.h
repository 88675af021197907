#pragma once

#include <QImage>

// The strip across the top of the About box: the emblem and the program's name
// on a sky-blue gradient.
class BannerPainter {
public:
    static constexpr int Width = 223;
    static constexpr int Height = 63;

    static QImage paint();
};
