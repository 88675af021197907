#include "players/FullScreenNotice.h"

#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QPropertyAnimation>
#include <QTimer>

FullScreenNotice::FullScreenNotice(QWidget* parent)
    : QLabel(parent), opacity_(new QGraphicsOpacityEffect(this)), shown_(new QTimer(this)),
      fade_(new QPropertyAnimation(opacity_, "opacity", this)) {
    setText(tr("Press Esc to exit full screen"));
    // The keys and clicks are the game's, and Esc the full-screen window's.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setAlignment(Qt::AlignCenter);
    setStyleSheet(QStringLiteral("color: white; background: rgba(0, 0, 0, 200); border-radius: 8px;"
                                 " padding: 12px 24px;"));
    // Read at a glance from across the desk, as the window's small captions
    // are not.
    QFont large = font();
    large.setPixelSize(18);
    setFont(large);
    setGraphicsEffect(opacity_);
    shown_->setSingleShot(true);
    shown_->setInterval(ShownMs);
    connect(shown_, &QTimer::timeout, fade_, [this] { fade_->start(); });
    fade_->setDuration(FadeMs);
    fade_->setStartValue(1.0);
    fade_->setEndValue(0.0);
    connect(fade_, &QPropertyAnimation::finished, this, &QWidget::hide);
    parent->installEventFilter(this);
    hide();
}

void FullScreenNotice::present() {
    fade_->stop();
    opacity_->setOpacity(1.0);
    place();
    show();
    raise();
    shown_->start();
}

void FullScreenNotice::dismiss() {
    shown_->stop();
    fade_->stop();
    hide();
}

void FullScreenNotice::place() {
    adjustSize();
    const QSize area = parentWidget()->size();
    move((area.width() - width()) / 2, area.height() / 10);
}

bool FullScreenNotice::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && isVisible())
        place();
    return QLabel::eventFilter(watched, event);
}
