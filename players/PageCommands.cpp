#include "players/PageCommands.h"

#include "library/GameFile.h"
#include "players/PlayerSchemeHandler.h"

#include <QJsonDocument>

QString PageCommands::play(const GameFile& game, const QString& savesWord) {
    return take({{QStringLiteral("do"), QStringLiteral("play")},
                 {QStringLiteral("url"), QString::fromStdString(game.pageUrl())},
                 {QStringLiteral("base"), QString::fromStdString(game.pageFolderUrl())},
                 {QStringLiteral("served"), PlayerSchemeHandler::gameFilesUrl()},
                 {QStringLiteral("saves"),
                  QJsonObject{{QStringLiteral("movie"), QString::fromStdString(game.savesKey())},
                              {QStringLiteral("token"), savesWord}}}});
}

QString PageCommands::unload() {
    return take({{QStringLiteral("do"), QStringLiteral("unload")}});
}

QString PageCommands::flush() {
    return take({{QStringLiteral("do"), QStringLiteral("flush")}});
}

QString PageCommands::focus() {
    return take({{QStringLiteral("do"), QStringLiteral("focus")}});
}

QString PageCommands::say(const QString& text) {
    return take({{QStringLiteral("do"), QStringLiteral("say")}, {QStringLiteral("text"), text}});
}

QString PageCommands::take(const QJsonObject& command) {
    return QStringLiteral("pelliwick.take(%1)")
        .arg(QString::fromUtf8(QJsonDocument(command).toJson(QJsonDocument::Compact)));
}
