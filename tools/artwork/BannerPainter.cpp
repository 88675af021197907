#include "BannerPainter.h"

#include "EmblemPainter.h"
#include "TextOutline.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

namespace {

constexpr int EmblemSize = 48;
constexpr int Margin = 8;
const QString Name = QStringLiteral("Pelliwick");

} // namespace

QImage BannerPainter::paint() {
    QImage banner(Width, Height, QImage::Format_RGB32);
    QPainter painter(&banner);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, Width * 0.6, Height * 1.4);
    sky.setColorAt(0, QColor(18, 52, 120));
    sky.setColorAt(0.55, QColor(38, 112, 182));
    sky.setColorAt(1, QColor(104, 184, 224));
    painter.fillRect(banner.rect(), sky);

    // A soft glow behind the emblem, and a thin light rule along the bottom.
    const int emblemTop = (Height - EmblemSize) / 2;
    QRadialGradient glow(QPointF(Margin + EmblemSize / 2.0, Height / 2.0), EmblemSize * 0.75);
    glow.setColorAt(0, QColor(255, 255, 255, 90));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    painter.fillRect(banner.rect(), glow);
    painter.fillRect(QRectF(0, Height - 2, Width, 2), QColor(255, 255, 255, 70));

    painter.save();
    painter.translate(Margin, emblemTop);
    EmblemPainter::draw(painter, EmblemSize, EmblemPainter::Style::TrueColour);
    painter.restore();

    // The name, as large as fits the space to the right of the emblem.
    const qreal left = Margin + EmblemSize + 10;
    const qreal room = Width - left - Margin;
    int pixelSize = 34;
    QPainterPath name = TextOutline::path(Name, pixelSize);
    while (name.boundingRect().width() > room && pixelSize > 8)
        name = TextOutline::path(Name, --pixelSize);
    const QRectF bounds = name.boundingRect();
    name.translate(left - bounds.left() + (room - bounds.width()) / 2,
                   Height / 2.0 - bounds.center().y());
    painter.fillPath(name.translated(1.5, 1.5), QColor(0, 20, 60, 110));
    painter.fillPath(name, Qt::white);
    painter.end();
    return banner;
}
