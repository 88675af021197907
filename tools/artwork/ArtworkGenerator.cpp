#include "ArtworkGenerator.h"

#include "BannerPainter.h"
#include "BmpWriter.h"
#include "EmblemPainter.h"
#include "GlyphPainter.h"
#include "IcoWriter.h"
#include "TextOutline.h"

#include <QBuffer>
#include <QDir>
#include <QImageWriter>
#include <QSaveFile>
#include <stdexcept>

QList<ArtworkGenerator::File> ArtworkGenerator::files() {
    TextOutline::requireFont();

    using Glyph = GlyphPainter::Glyph;
    QList<File> files;
    for (Glyph glyph :
         {Glyph::Add, Glyph::Delete, Glyph::Modify, Glyph::Move, Glyph::TellAFriend, Glyph::About})
        files.append(
            {GlyphPainter::fileName(glyph), BmpWriter::encode(GlyphPainter::paint(glyph))});

    files.append({QStringLiteral("pelliwick.ico"), icon()});
    files.append({QStringLiteral("pelliwick.png"),
                  encoded(EmblemPainter::paint(48, EmblemPainter::Style::TrueColour), "png")});
    files.append({QStringLiteral("pelliwick-256.png"),
                  encoded(EmblemPainter::paint(256, EmblemPainter::Style::TrueColour), "png")});
    files.append({QStringLiteral("banner.jpg"), encoded(BannerPainter::paint(), "jpeg", 92)});
    files.append({QStringLiteral("resources.qrc"), resourceList(files)});
    return files;
}

QString ArtworkGenerator::writeTo(const QString& folder) {
    QList<File> artwork;
    try {
        artwork = files();
    } catch (const std::exception& error) {
        return QString::fromStdString(error.what());
    }
    if (!QDir().mkpath(folder))
        return QStringLiteral("cannot create %1").arg(folder);
    for (const File& file : artwork) {
        QSaveFile out(QDir(folder).filePath(file.name));
        if (!out.open(QIODevice::WriteOnly) || out.write(file.bytes) != file.bytes.size() ||
            !out.commit())
            return QStringLiteral("cannot write %1: %2").arg(out.fileName(), out.errorString());
    }
    return {};
}

QByteArray ArtworkGenerator::icon() {
    using Style = EmblemPainter::Style;
    using Depth = IcoWriter::Depth;
    // Smallest and fewest colours first, the order icon editors list them in.
    IcoWriter ico;
    for (int size : {16, 32})
        ico.add(EmblemPainter::paint(size, Style::Colours16), Depth::Colours16);
    for (int size : {16, 32, 48})
        ico.add(EmblemPainter::paint(size, Style::Colours256), Depth::Colours256);
    for (int size : {16, 32, 48})
        ico.add(EmblemPainter::paint(size, Style::TrueColour), Depth::TrueColour);
    return ico.encode();
}

QByteArray ArtworkGenerator::encoded(const QImage& image, const char* format, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    if (!writer.write(image))
        throw std::runtime_error("cannot encode " + std::string(format) + ": " +
                                 writer.errorString().toStdString());
    return bytes;
}

QByteArray ArtworkGenerator::resourceList(const QList<File>& files) {
    QByteArray qrc = "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/\">\n";
    for (const File& file : files)
        qrc += "    <file>" + file.name.toUtf8() + "</file>\n";
    qrc += "</qresource>\n</RCC>\n";
    return qrc;
}
