#include "players/PageCommands.h"

#include "library/GameFile.h"
#include "library/PlayerSettings.h"
#include "players/PlayerSchemeHandler.h"

#include <QJsonDocument>

QString PageCommands::play(const GameFile& game, const QString& savesWord,
                           const PlayerSettings& settings) {
    QJsonObject kept{{QStringLiteral("volume"), settings.volume},
                     {QStringLiteral("muted"), settings.muted}};
    if (settings.quality)
        kept.insert(QStringLiteral("quality"),
                    QLatin1String(PlayerSettings::nameOf(*settings.quality)));
    return take({{QStringLiteral("do"), QStringLiteral("play")},
                 {QStringLiteral("url"), QString::fromStdString(game.pageUrl())},
                 {QStringLiteral("base"), QString::fromStdString(game.pageFolderUrl())},
                 {QStringLiteral("served"), PlayerSchemeHandler::gameFilesUrl()},
                 {QStringLiteral("saves"),
                  QJsonObject{{QStringLiteral("movie"), QString::fromStdString(game.savesKey())},
                              {QStringLiteral("token"), savesWord}}},
                 {QStringLiteral("settings"), kept}});
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
