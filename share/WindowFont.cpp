#include "share/WindowFont.h"

#include <QStringList>

QFont WindowFont(int pixelHeight) {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelHeight);
    return font;
}
