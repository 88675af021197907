#pragma once

#include <QWidget>

// The web page pane: lies beneath the game player with the same bounds, is
// never seen, and is the first stop of the main window's tab order.
class TCppWebBrowser : public QWidget {
    Q_OBJECT
public:
    explicit TCppWebBrowser(QWidget* parent = nullptr);
};
