#pragma once

#include "library/GameFile.h"
#include "players/SaveBridge.h"

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

// The player area as a plain widget, for the start-up benchmark's build
// without the web engine: the same members the main window uses, none of
// which starts anything. The benchmark puts this folder first on the include
// path, so the main window's sources build against it unchanged.
class TShockwaveFlash : public QWidget {
    Q_OBJECT
public:
    static void prepare() {}

    explicit TShockwaveFlash(QWidget* parent = nullptr) : QWidget(parent) {
        setFocusPolicy(Qt::StrongFocus);
    }

    void setMovie(const QString& url) { movie_ = url; }
    void setMovie(const GameFile& game) { movie_ = QString::fromStdString(game.movieUrl()); }
    void SetFocus() { setFocus(Qt::OtherFocusReason); }
    bool isReady() const { return true; }
    void gameMoved(const GameFile&, const GameFile&) {}
    const std::optional<GameFile>& playing() const { return playing_; }
    SaveBridge* savesOnDisk() { return &saves_; }
    void changeSaves(const std::function<void()>& change) { change(); }

private:
    QString movie_;
    std::optional<GameFile> playing_;
    SaveBridge saves_;
};
