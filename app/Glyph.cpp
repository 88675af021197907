#include "app/Glyph.h"

#include <QBitmap>
#include <QImage>
#include <QPixmap>

QIcon Glyph::icon(const QString& fileName) {
    const QImage image(fileName);
    if (image.isNull())
        return {};
    QPixmap pixmap = QPixmap::fromImage(image);
    const QRgb background = image.pixel(0, image.height() - 1);
    pixmap.setMask(QBitmap::fromImage(image.createMaskFromColor(background, Qt::MaskInColor)));
    return QIcon(pixmap);
}
