#include "players/GameSaves.h"

#include "library/GameFile.h"
#include "library/PlayerSettings.h"
#include "players/PageCommands.h"
#include "players/SaveBridge.h"

#include <QEventLoop>
#include <QTimer>
#include <QWebEnginePage>

GameSaves::GameSaves(QObject* parent) : QObject(parent), bridge_(new SaveBridge(this)) {}

QString GameSaves::open(const GameFile& game) {
    return bridge_->open(game.savesKey());
}

PlayerSettings GameSaves::settings(const GameFile& game) const {
    return bridge_->settings(game.savesKey());
}

void GameSaves::gameMoved(const GameFile& from, const GameFile& to) {
    // A new letter case alone leaves the saves where they are.
    if (from.savesKey() != to.savesKey())
        bridge_->gameMoved(from.savesKey(), to.savesKey());
}

void GameSaves::endBeforeQuitting(QWebEnginePage* page) {
    if (page) {
        QEventLoop sent;
        connect(bridge_, &SaveBridge::allSent, &sent, &QEventLoop::quit);
        QTimer::singleShot(1000, &sent, &QEventLoop::quit);
        page->runJavaScript(PageCommands::unload());
        sent.exec();
    }
    bridge_->drain();
}
