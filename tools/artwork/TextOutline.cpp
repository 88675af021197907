#include "TextOutline.h"

#include <QFont>
#include <QFontInfo>
#include <stdexcept>

namespace {

const QString Family = QStringLiteral("DejaVu Sans");

QFont font(int pixelSize) {
    QFont font(Family);
    font.setBold(true);
    font.setPixelSize(pixelSize);
    font.setKerning(true);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

} // namespace

void TextOutline::requireFont() {
    const QFontInfo info(font(32));
    if (info.family() != Family || !info.bold())
        throw std::runtime_error("DejaVu Sans Bold is not installed (fonts-dejavu-core), found " +
                                 info.family().toStdString());
}

QPainterPath TextOutline::path(const QString& text, int pixelSize) {
    QPainterPath path;
    path.addText(0, 0, font(pixelSize), text);
    return path;
}
