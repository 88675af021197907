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
    if (page)
        settle(page, PageCommands::unload(), 1000);
    bridge_->drain();
}

bool GameSaves::settle(QWebEnginePage* page, const QString& command, int waitMs) {
    QEventLoop sent;
    bool allSent = false;
    connect(bridge_, &SaveBridge::allSent, &sent, [&] {
        allSent = true;
        sent.quit();
    });
    QTimer::singleShot(waitMs, &sent, &QEventLoop::quit);
    page->runJavaScript(command);
    sent.exec();
    bridge_->drain();
    return allSent;
}
