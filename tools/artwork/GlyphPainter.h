#pragma once

#include <QImage>
#include <QRgb>
#include <QString>

class QPainter;

// Draws the pictures on the main window's buttons. The buttons treat the
// colour of a glyph's lower-left pixel as transparent, so every glyph is an
// opaque image on magenta with that corner left empty.
class GlyphPainter {
public:
    enum class Glyph { Add, Delete, Modify, Move, TellAFriend, About };

    static constexpr QRgb Background = 0xffff00ff;

    static QSize size(Glyph glyph);
    static QString fileName(Glyph glyph);

    // The glyph on magenta. Its edges are drawn antialiased against nothing
    // and then cut at half coverage, so each pixel is either wholly symbol or
    // wholly background: a pixel blended towards magenta would survive the
    // colour key and show as a pink fringe on the button.
    static QImage paint(Glyph glyph);

private:
    static void drawAdd(QPainter& painter);
    static void drawDelete(QPainter& painter);
    static void drawModify(QPainter& painter);
    static void drawMove(QPainter& painter);
    static void drawTellAFriend(QPainter& painter);
    static void drawAbout(QPainter& painter);

    static QImage onMagenta(const QImage& drawing);
};
