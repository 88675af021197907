#pragma once

#include <QWidget>

class QWebEnginePage;

// The web page pane as a plain widget, for the start-up benchmark's build
// without the web engine (see TShockwaveFlash.h beside it): never a page, so
// the main window never asks it to pass the focus on.
class TCppWebBrowser : public QWidget {
    Q_OBJECT
public:
    enum ReadyState { Uninitialized = 0, Loading = 1, Loaded = 2, Interactive = 3, Complete = 4 };

    explicit TCppWebBrowser(QWidget* parent = nullptr) : QWidget(parent) {
        setFocusPolicy(Qt::StrongFocus);
    }

    int ReadyState() const { return Uninitialized; }
    QWebEnginePage* Document() const { return nullptr; }
    void focusWindow(QWebEnginePage*) { setFocus(Qt::OtherFocusReason); }

signals:
    void Enter();
    void NavigateComplete2();
    void DocumentComplete();
};
