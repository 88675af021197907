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
        throw std::runtime_error("the lettering's font, DejaVu Sans Bold, is missing (found " +
                                 info.family().toStdString() +
                                 "): install it with sudo apt-get install fonts-dejavu-core");
}

QPainterPath TextOutline::path(const QString& text, int pixelSize) {
    QPainterPath path;
    path.addText(0, 0, font(pixelSize), text);
    return path;
}
