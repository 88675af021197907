#pragma once

#include <QWidget>

// The game player's place in the main window: it fills the player area above
// the web page pane and takes the keyboard focus for the game.
class TShockwaveFlash : public QWidget {
    Q_OBJECT
public:
    explicit TShockwaveFlash(QWidget* parent = nullptr);

    // Keyboard focus to the player, so that keys reach the game.
    void SetFocus();
};
