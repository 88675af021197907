#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

// Produces every artwork file the program ships, and the resource list that
// compiles them in. The output is the same bytes at every run, so the files
// kept in resources/ can be checked against a fresh run.
class ArtworkGenerator {
public:
    struct File {
        QString name;
        QByteArray bytes;
    };

    // Throws std::runtime_error when a picture cannot be drawn or encoded.
    static QList<File> files();

    // Writes files() into the folder, creating it if needed. Returns an empty
    // string on success, otherwise what went wrong.
    static QString writeTo(const QString& folder);

private:
    static QByteArray icon();
    static QByteArray encoded(const QImage& image, const char* format, int quality = -1);
    static QByteArray resourceList(const QList<File>& files);
};
