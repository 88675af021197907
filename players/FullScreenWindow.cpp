#include "players/FullScreenWindow.h"

#include <QCloseEvent>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace {

// The page's surface, moved to another view with the keyboard, would hand
// the keyboard on with a Tab key, which the game would get: it lets go first.
void letGoOfKeyboard(const QWebEngineView* view) {
    if (view && view->focusProxy())
        view->focusProxy()->clearFocus();
}

} // namespace

FullScreenWindow::FullScreenWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), view_(new QWebEngineView(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    // Esc belongs to the user, never to the game: it leaves full screen
    // whatever the game does with its keys.
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this,
            &FullScreenWindow::leaveRequested);
}

void FullScreenWindow::enter(QWebEnginePage* page, const QWidget* player) {
    letGoOfKeyboard(QWebEngineView::forPage(page));
    view_->setPage(page);
    // Without a window manager nobody else makes the window as large as the
    // screen; with one, it keeps it so.
    setGeometry(player->screen()->geometry());
    showFullScreen();
    activateWindow();
    view_->setFocus(Qt::OtherFocusReason);
}

void FullScreenWindow::leave() {
    letGoOfKeyboard(view_);
    hide();
}

void FullScreenWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Asked for later: the window also loses the keyboard as it hides.
    if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow())
        QMetaObject::invokeMethod(this, &FullScreenWindow::leaveRequested, Qt::QueuedConnection);
}

void FullScreenWindow::closeEvent(QCloseEvent* event) {
    // Closed by the desktop, the window would take the game with it.
    event->ignore();
    emit leaveRequested();
}
