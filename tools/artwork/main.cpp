// pelliwick-artwork OUTDIR: draws the program's artwork and writes it, with
// resources.qrc, into OUTDIR. Run it into resources/ after changing a picture.

#include "ArtworkGenerator.h"
#include "library/Utf8Locale.h"

#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    Utf8Locale::take();
    // Always off screen: the generator shows no window, and the output must not
    // depend on the desktop it happens to run under.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QTextStream err(stderr);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 2) {
        err << "usage: pelliwick-artwork OUTDIR\n";
        return 2;
    }
    const QString problem = ArtworkGenerator::writeTo(arguments.at(1));
    if (!problem.isEmpty()) {
        err << "pelliwick-artwork: " << problem << '\n';
        return 1;
    }
    return 0;
}
