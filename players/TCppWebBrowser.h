#pragma once

#include <QWebEngineView>

// The web page pane: lies beneath the game player with the same bounds, is
// never seen and never navigated by the program, and is the first stop of the
// main window's tab order. Its only part is to pass focus on into the page it
// shows, if it ever shows one.
class TCppWebBrowser : public QWebEngineView {
    Q_OBJECT
public:
    enum ReadyState { Uninitialized = 0, Loading = 1, Loaded = 2, Interactive = 3, Complete = 4 };

    explicit TCppWebBrowser(QWidget* parent = nullptr);

    // How far the pane's page has come: Uninitialized until a navigation
    // starts, Loading until it ends, Complete after (the engine reports no
    // stage in between).
    // Raises an Exception when the page's render process is gone.
    int ReadyState() const;
    // The page of the document shown, or none.
    // Raises an Exception when the page's render process is gone.
    QWebEnginePage* Document() const;
    // Keyboard focus into the page's window.
    void focusWindow(QWebEnginePage* window);

protected:
    // The base view would make a page here, starting the web engine for a
    // pane that never shows anything.
    void showEvent(QShowEvent* event) override { QWidget::showEvent(event); }
    void hideEvent(QHideEvent* event) override { QWidget::hideEvent(event); }

signals:
    // Keyboard focus entered the pane.
    void Enter();
    void NavigateComplete2();
    void DocumentComplete();

private:
    void focusChanged(QWidget* old, QWidget* now);
    bool holds(const QWidget* widget) const;

    int readyState_ = Uninitialized;
    bool documentShown_ = false;
    bool renderProcessGone_ = false;
};
