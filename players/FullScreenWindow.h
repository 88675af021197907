#pragma once

#include <QWidget>

class QWebEnginePage;
class QWebEngineView;

// The player on the whole screen. The page a game plays in moves into this
// window's own view and back again, so the game plays on as it was: nothing
// is loaded anew. The window lasts as long as the player, hidden while not in
// use, so that a dialog a game opened in full screen never loses its owner.
class FullScreenWindow : public QWidget {
    Q_OBJECT
public:
    explicit FullScreenWindow(QWidget* parent);

    // Shows page over the whole screen that player is on, with the keyboard.
    void enter(QWebEnginePage* page, const QWidget* player);
    // Hides the window, the page still in it: whoever shows the page next
    // takes it (a view left without a page would make one of its own).
    void leave();

signals:
    // The user wants the player back in the main window: Esc, closing this
    // window, or another window taking the keyboard.
    void leaveRequested();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWebEngineView* const view_;
};
