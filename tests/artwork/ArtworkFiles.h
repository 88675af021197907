#pragma once

// What the artwork tests share: where the committed pictures lie, which
// they are, and their files read as bytes and as pictures.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QList>
#include <QStringList>
#include <QtEndian>
#include <algorithm>

inline const QString ResourcesDir = QStringLiteral(PELLIWICK_RESOURCES_DIR);

inline const QStringList Pictures = {
    QStringLiteral("glyph-add.bmp"),           QStringLiteral("glyph-delete.bmp"),
    QStringLiteral("glyph-modify.bmp"),        QStringLiteral("glyph-move.bmp"),
    QStringLiteral("glyph-tell-a-friend.bmp"), QStringLiteral("glyph-about.bmp"),
    QStringLiteral("pelliwick.ico"),           QStringLiteral("pelliwick.png"),
    QStringLiteral("pelliwick-256.png"),       QStringLiteral("banner.jpg"),
};
inline const QString ResourceList = QStringLiteral("resources.qrc");

// Every picture in a file: the .ico holds eight.
inline QList<QImage> readPictures(const QString& path) {
    QList<QImage> images;
    QImageReader reader(path);
    for (int i = 0; i < std::max(1, reader.imageCount()); ++i) {
        if (i > 0 && !reader.jumpToImage(i))
            break;
        images.append(reader.read().convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
    return images;
}

inline QByteArray readCommitted(const QString& name) {
    QFile file(QDir(ResourcesDir).filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

inline quint16 u16(const QByteArray& bytes, qsizetype at) {
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}
inline quint32 u32(const QByteArray& bytes, qsizetype at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}
inline qint32 i32(const QByteArray& bytes, qsizetype at) {
    return qFromLittleEndian<qint32>(bytes.constData() + at);
}
