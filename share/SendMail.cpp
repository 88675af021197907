#include "share/SendMail.h"

#include <QProcess>
#include <QStandardPaths>

bool SendMail(const QString& subject, const QString& body) {
    // Mail programs are not installed while the program runs: the first
    // answer stands, found or not.
    static const QString command = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    if (command.isEmpty())
        return false;
    QProcess mail;
    // What the command has to say goes where the program's own messages go.
    mail.setProcessChannelMode(QProcess::ForwardedChannels);
    mail.start(command, {QStringLiteral("--subject"), subject, QStringLiteral("--body"), body});
    // The window waits for the hand-off to end, so its answer is known.
    if (!mail.waitForFinished(-1))
        return false;
    return mail.exitStatus() == QProcess::NormalExit && mail.exitCode() == 0;
}
