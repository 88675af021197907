#include "EmblemPainter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {

// The colours of one style. Flat styles use colours their palette holds, so
// that mapping to the palette leaves the body of each piece untouched.
struct Scheme {
    QColor folderEdge;
    QColor folderBack;
    QColor folderFront;
    QColor folderFrontLow;
    QColor padEdge;
    QColor padBody;
    QColor padBodyLow;
    QColor padShine;
    QColor cross;
    QColor buttonA;
    QColor buttonB;
    bool shaded;
};

Scheme scheme(EmblemPainter::Style style) {
    switch (style) {
    case EmblemPainter::Style::TrueColour:
        return {{130, 82, 8},    {226, 164, 40}, {255, 214, 92}, {246, 182, 46},
                {28, 26, 52},    {104, 96, 176}, {62, 54, 122},  {255, 255, 255, 70},
                {238, 238, 248}, {236, 52, 52},  {70, 206, 86},  true};
    case EmblemPainter::Style::Colours256:
        return {{153, 102, 0},   {204, 153, 0},   {255, 204, 51},  {255, 204, 51},
                {0, 0, 51},      {102, 102, 204}, {102, 102, 204}, {},
                {255, 255, 255}, {255, 51, 51},   {51, 204, 51},   false};
    case EmblemPainter::Style::Colours16:
        break;
    }
    return {{128, 128, 0},   {255, 255, 0}, {255, 255, 0}, {255, 255, 0},
            {0, 0, 0},       {0, 0, 128},   {0, 0, 128},   {},
            {255, 255, 255}, {255, 0, 0},   {0, 255, 0},   false};
}

QBrush fill(const Scheme& colours, const QColor& top, const QColor& bottom, qreal y0, qreal y1) {
    if (!colours.shaded)
        return top;
    QLinearGradient gradient(0, y0, 0, y1);
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    return gradient;
}

QPainterPath rounded(std::initializer_list<std::pair<QRectF, qreal>> pieces) {
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (const auto& [rect, radius] : pieces)
        path.addRoundedRect(rect, radius, radius);
    return path;
}

// Fills the shape over a ring of edge colour lying just outside it. The edge
// is drawn first so the fill covers where the pieces of the shape overlap.
void outlined(QPainter& painter, const QPainterPath& shape, const QBrush& body, const QColor& edge,
              qreal edgeWidth) {
    painter.strokePath(shape,
                       QPen(edge, 2 * edgeWidth, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin));
    painter.fillPath(shape, body);
}

} // namespace

QImage EmblemPainter::paint(int size, Style style) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    draw(painter, size, style);
    painter.end();
    return image;
}

void EmblemPainter::draw(QPainter& painter, int size, Style style) {
    const Scheme colours = scheme(style);
    const qreal scale = size / 16.0;
    // One pixel of edge up to 47 pixels, then growing with the picture.
    const qreal edge = std::max(1.0, std::floor(size / 24.0)) / scale;
    const bool small = size < 24;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);

    // The folder: its back with the tab, then the front flap over it.
    const QPainterPath back = rounded({{{2, 2, 5, 3}, 0.5}, {{2, 3, 12, 9}, 0.5}});
    outlined(painter, back, colours.folderBack, colours.folderEdge, edge);
    const QPainterPath front = rounded({{{2, 5, 12, 7}, 0.5}});
    outlined(painter, front, fill(colours, colours.folderFront, colours.folderFrontLow, 5, 12),
             colours.folderEdge, edge);

    // The game pad: a bar with a grip hanging from each end.
    const QPainterPath pad =
        rounded({{{3, 9, 10, 4}, 1.5}, {{3, 10, 3.5, 4}, 1.5}, {{9.5, 10, 3.5, 4}, 1.5}});
    outlined(painter, pad, fill(colours, colours.padBody, colours.padBodyLow, 9, 14),
             colours.padEdge, edge);
    if (colours.shaded && !small) {
        QPainterPath shine;
        shine.addRoundedRect(QRectF(3.6, 9.3, 8.8, 1.3), 0.65, 0.65);
        painter.fillPath(shine, colours.padShine);
    }

    // The cross-shaped direction pad on the left, two buttons on the right.
    painter.fillPath(rounded({{{4, 10, 3, 1}, small ? 0 : 0.2}, {{5, 9, 1, 3}, small ? 0 : 0.2}}),
                     colours.cross);
    if (small) {
        painter.fillRect(QRectF(11, 10, 1, 1), colours.buttonA);
        painter.fillRect(QRectF(10, 11, 1, 1), colours.buttonB);
    } else {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colours.buttonA);
        painter.drawEllipse(QPointF(11.5, 10.3), 0.7, 0.7);
        painter.setBrush(colours.buttonB);
        painter.drawEllipse(QPointF(10.1, 11.7), 0.7, 0.7);
    }
    painter.restore();
}
