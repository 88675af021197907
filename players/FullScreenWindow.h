#pragma once

#include <QWidget>

class FullScreenNotice;
class QGridLayout;
class QWebEngineFullScreenRequest;

// The player on the whole screen. The player itself moves into this window,
// its page and game with it, and back to its place in its window's grid
// when it leaves, so the game plays on as it was: nothing is loaded anew,
// and the window it came from is not touched. Each time it begins, a notice
// over the game says how to leave.
class FullScreenWindow : public QWidget {
    Q_OBJECT
public:
    // player sits in a cell of its window's grid layout.
    explicit FullScreenWindow(QWidget* player);

    // A game, or the player's menu, asks to go full screen or to leave it.
    void answer(QWebEngineFullScreenRequest request);
    // Moves the player over the whole screen it is on; the window takes the
    // keyboard, which the player then holds.
    void enter();
    // Puts the player back in its cell, under the sibling it lay under.
    void leave();

signals:
    // The player is back in its cell.
    void left();
    // The user wants the player back in its window: Esc, closing this
    // window or the main window, or another window taking the keyboard.
    void leaveRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* const player_;
    // Where the player came from.
    QGridLayout* grid_ = nullptr;
    int row_ = 0, column_ = 0, rowSpan_ = 1, columnSpan_ = 1;
    QWidget* above_ = nullptr;
    FullScreenNotice* const notice_;
};
