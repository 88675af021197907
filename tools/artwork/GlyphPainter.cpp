#include "GlyphPainter.h"

#include "BmpWriter.h"
#include "TextOutline.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

const QColor GreenEdge(18, 96, 24);
const QColor GreenLight(136, 226, 104);
const QColor GreenDark(38, 162, 46);
const QColor RedEdge(128, 14, 10);
const QColor RedLight(255, 112, 88);
const QColor RedDark(204, 26, 18);
const QColor YellowEdge(150, 98, 0);
const QColor YellowLight(255, 240, 130);
const QColor YellowDark(244, 196, 28);
const QColor BlueEdge(12, 40, 122);
const QColor BlueLight(104, 164, 246);
const QColor BlueDark(22, 74, 186);

QLinearGradient vertical(qreal top, qreal bottom, const QColor& light, const QColor& dark) {
    QLinearGradient gradient(0, top, 0, bottom);
    gradient.setColorAt(0, light);
    gradient.setColorAt(1, dark);
    return gradient;
}

// Fills the shape and rings it with an edge of the given width lying wholly
// outside it, so that a shape on whole pixels keeps crisp edges.
void outlined(QPainter& painter, const QPainterPath& shape, const QBrush& fill, const QColor& edge,
              qreal edgeWidth, Qt::PenJoinStyle join = Qt::MiterJoin) {
    painter.strokePath(shape, QPen(edge, 2 * edgeWidth, Qt::SolidLine, Qt::SquareCap, join));
    painter.fillPath(shape, fill);
}

QPainterPath rects(std::initializer_list<QRectF> pieces) {
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (const QRectF& piece : pieces)
        path.addRect(piece);
    return path.simplified();
}

} // namespace

QSize GlyphPainter::size(Glyph glyph) {
    switch (glyph) {
    case Glyph::Add:
    case Glyph::Delete:
    case Glyph::Modify:
        return {16, 16};
    case Glyph::Move:
        return {24, 24};
    case Glyph::TellAFriend:
    case Glyph::About:
        return {32, 32};
    }
    return {};
}

QString GlyphPainter::fileName(Glyph glyph) {
    switch (glyph) {
    case Glyph::Add:
        return QStringLiteral("glyph-add.bmp");
    case Glyph::Delete:
        return QStringLiteral("glyph-delete.bmp");
    case Glyph::Modify:
        return QStringLiteral("glyph-modify.bmp");
    case Glyph::Move:
        return QStringLiteral("glyph-move.bmp");
    case Glyph::TellAFriend:
        return QStringLiteral("glyph-tell-a-friend.bmp");
    case Glyph::About:
        return QStringLiteral("glyph-about.bmp");
    }
    return {};
}

QImage GlyphPainter::paint(Glyph glyph) {
    QImage drawing(size(glyph), QImage::Format_ARGB32_Premultiplied);
    drawing.fill(Qt::transparent);
    QPainter painter(&drawing);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (glyph) {
    case Glyph::Add:
        drawAdd(painter);
        break;
    case Glyph::Delete:
        drawDelete(painter);
        break;
    case Glyph::Modify:
        drawModify(painter);
        break;
    case Glyph::Move:
        drawMove(painter);
        break;
    case Glyph::TellAFriend:
        drawTellAFriend(painter);
        break;
    case Glyph::About:
        drawAbout(painter);
        break;
    }
    painter.end();
    return onMagenta(drawing);
}

void GlyphPainter::drawAdd(QPainter& painter) {
    const QPainterPath plus = rects({{7, 3, 2, 10}, {3, 7, 10, 2}});
    outlined(painter, plus, vertical(3, 13, GreenLight, GreenDark), GreenEdge, 1);
}

void GlyphPainter::drawDelete(QPainter& painter) {
    const QPainterPath bar = rects({{3, 7, 10, 2}});
    outlined(painter, bar, vertical(7, 9, RedLight, RedDark), RedEdge, 1);
}

void GlyphPainter::drawModify(QPainter& painter) {
    QPainterPath tick;
    tick.moveTo(3.5, 8.5);
    tick.lineTo(6.5, 11.5);
    tick.lineTo(12.5, 4.5);
    painter.strokePath(tick, QPen(GreenEdge, 4.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.strokePath(tick, QPen(QBrush(vertical(4, 12, GreenLight, GreenDark)), 2.2,
                                  Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void GlyphPainter::drawMove(QPainter& painter) {
    QPainterPath arrow;
    arrow.moveTo(3, 9);
    arrow.lineTo(12, 9);
    arrow.lineTo(12, 4.5);
    arrow.lineTo(20, 12);
    arrow.lineTo(12, 19.5);
    arrow.lineTo(12, 15);
    arrow.lineTo(3, 15);
    arrow.closeSubpath();
    outlined(painter, arrow, vertical(5, 19, GreenLight, GreenDark), GreenEdge, 1);
}

void GlyphPainter::drawTellAFriend(QPainter& painter) {
    // Speed lines trailing to the left of the envelope, as if it were flying
    // off to the right.
    painter.setPen(QPen(QColor(222, 158, 14), 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(2, 12), QPointF(7, 12));
    painter.drawLine(QPointF(4, 17), QPointF(8, 17));
    painter.drawLine(QPointF(2, 22), QPointF(7, 22));

    const QRectF body(12, 9, 17, 15);
    QPainterPath envelope;
    envelope.addRect(body);
    outlined(painter, envelope, vertical(body.top(), body.bottom(), YellowLight, YellowDark),
             YellowEdge, 1);
    QPainterPath flap;
    flap.moveTo(body.left() + 0.5, body.top() + 0.5);
    flap.lineTo(body.center().x(), body.top() + 8);
    flap.lineTo(body.right() - 0.5, body.top() + 0.5);
    painter.strokePath(flap, QPen(YellowEdge, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void GlyphPainter::drawAbout(QPainter& painter) {
    const QPointF centre(16, 15.5);
    QRadialGradient shade(QPointF(12, 10), 17);
    shade.setColorAt(0, BlueLight);
    shade.setColorAt(1, BlueDark);
    painter.setPen(QPen(BlueEdge, 1.5));
    painter.setBrush(shade);
    painter.drawEllipse(centre, 13.5, 13.5);

    QPainterPath mark = TextOutline::path(QStringLiteral("?"), 23);
    const QRectF bounds = mark.boundingRect();
    mark.translate(centre - bounds.center());
    painter.fillPath(mark.translated(0.8, 0.8), BlueEdge);
    painter.fillPath(mark, Qt::white);
}

QImage GlyphPainter::onMagenta(const QImage& drawing) {
    const quint16 background = BmpWriter::pack(Background);
    QImage glyph(drawing.size(), QImage::Format_RGB32);
    for (int y = 0; y < drawing.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(drawing.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(glyph.scanLine(y));
        for (int x = 0; x < drawing.width(); ++x) {
            if (qAlpha(in[x]) < 128) {
                out[x] = Background;
                continue;
            }
            QRgb colour = qUnpremultiply(in[x]) | 0xff000000;
            // A symbol pixel that stores as the key colour would vanish.
            if (BmpWriter::pack(colour) == background)
                colour = qRgb(qRed(colour), 16, qBlue(colour));
            out[x] = colour;
        }
    }
    return glyph;
}
