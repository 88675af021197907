#include "players/TCppWebBrowser.h"

#include "library/Exception.h"

#include <QApplication>
#include <QWebEnginePage>

TCppWebBrowser::TCppWebBrowser(QWidget* parent) : QWebEngineView(parent) {
    setFocusPolicy(Qt::StrongFocus);
    // Connected to the view, not its page: asking for the page would create
    // one, and with it a render process the pane never needs.
    connect(this, &QWebEngineView::loadStarted, this, [this] {
        readyState_ = Loading;
        documentShown_ = false;
        renderProcessGone_ = false;
    });
    // The engine reports no stage between a navigation's start and its end:
    // a navigation is complete when its page has loaded.
    connect(this, &QWebEngineView::loadFinished, this, [this](bool ok) {
        readyState_ = Complete;
        documentShown_ = ok;
        if (ok)
            emit NavigateComplete2();
        emit DocumentComplete();
    });
    connect(this, &QWebEngineView::renderProcessTerminated, this,
            [this] { renderProcessGone_ = true; });
    connect(qApp, &QApplication::focusChanged, this, &TCppWebBrowser::focusChanged);
}

int TCppWebBrowser::ReadyState() const {
    if (renderProcessGone_)
        throw Exception("The web page pane has stopped working");
    return readyState_;
}

QWebEnginePage* TCppWebBrowser::Document() const {
    if (renderProcessGone_)
        throw Exception("The web page pane has stopped working");
    return documentShown_ ? page() : nullptr;
}

void TCppWebBrowser::focusWindow(QWebEnginePage* window) {
    setFocus(Qt::OtherFocusReason);
    window->runJavaScript(QStringLiteral("window.focus()"));
}

bool TCppWebBrowser::holds(const QWidget* widget) const {
    return widget && (widget == this || isAncestorOf(widget));
}

void TCppWebBrowser::focusChanged(QWidget* old, QWidget* now) {
    if (holds(now) && !holds(old))
        emit Enter();
}
