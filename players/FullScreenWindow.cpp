#include "players/FullScreenWindow.h"

#include "players/FullScreenNotice.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QScreen>
#include <QShortcut>
#include <QWebEngineFullScreenRequest>

FullScreenWindow::FullScreenWindow(QWidget* player)
    : QWidget(player->window(), Qt::Window), player_(player), notice_(new FullScreenNotice(this)) {
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // Esc belongs to the user, never to the game: it leaves full screen
    // whatever the game does with its keys.
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this,
            &FullScreenWindow::leaveRequested);
    parentWidget()->installEventFilter(this);
}

void FullScreenWindow::answer(QWebEngineFullScreenRequest request) {
    // Whether the request answers the user is the page's to judge: the
    // engine only passes on what the page let through.
    request.accept();
    if (!request.toggleOn())
        leave();
    else if (!isVisible())
        enter();
}

void FullScreenWindow::enter() {
    QWidget* home = player_->parentWidget();
    grid_ = qobject_cast<QGridLayout*>(home->layout());
    grid_->getItemPosition(grid_->indexOf(player_), &row_, &column_, &rowSpan_, &columnSpan_);
    const QObjectList& siblings = home->children();
    above_ = nullptr;
    for (qsizetype i = siblings.indexOf(player_) + 1; i < siblings.size() && !above_; ++i)
        if (auto* sibling = qobject_cast<QWidget*>(siblings[i]); sibling && !sibling->isWindow())
            above_ = sibling;
    // Without a window manager nobody else makes the window as large as the
    // screen; with one, it keeps it so.
    setGeometry(player_->screen()->geometry());
    layout()->addWidget(player_);
    player_->show();
    showFullScreen();
    activateWindow();
    notice_->present();
}

void FullScreenWindow::leave() {
    if (!isVisible())
        return;
    notice_->dismiss();
    hide();
    grid_->addWidget(player_, row_, column_, rowSpan_, columnSpan_);
    if (above_)
        player_->stackUnder(above_);
    player_->show();
    emit left();
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

bool FullScreenWindow::eventFilter(QObject* watched, QEvent* event) {
    // The main window closed from the desktop while a game is full screen:
    // the game comes back into it first, so that the program ends with its
    // main window as it does from the window, rather than going on unseen.
    if (event->type() == QEvent::Close && isVisible())
        emit leaveRequested();
    return QWidget::eventFilter(watched, event);
}
