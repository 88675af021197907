#include "app/Splitter.h"

#include <QMouseEvent>
#include <algorithm>

Splitter::Splitter(QWidget* parent) : QWidget(parent) {
    setCursor(Qt::SplitHCursor);
}

int Splitter::widthAt(const QMouseEvent* event) const {
    const int left = mapToParent(event->position().toPoint()).x() - grabX_;
    const int playerLimit = parentWidget()->width() - control_->x() - width() - MinSize;
    const int width = std::max(0, std::min(left - control_->x(), playerLimit));
    return width <= MinSize ? 0 : width;
}

void Splitter::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !control_)
        return;
    grabX_ = event->position().toPoint().x();
    newWidth_ = control_->width();
    dragLine_ = new QWidget(parentWidget());
    QPalette palette = dragLine_->palette();
    palette.setBrush(QPalette::Window, QBrush(Qt::black, Qt::Dense4Pattern));
    dragLine_->setPalette(palette);
    dragLine_->setAutoFillBackground(true);
    dragLine_->setGeometry(geometry());
    dragLine_->show();
    dragLine_->raise();
}

void Splitter::mouseMoveEvent(QMouseEvent* event) {
    if (!dragLine_)
        return;
    newWidth_ = widthAt(event);
    dragLine_->move(control_->x() + newWidth_, y());
}

void Splitter::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragLine_ || event->button() != Qt::LeftButton)
        return;
    newWidth_ = widthAt(event);
    delete dragLine_;
    dragLine_ = nullptr;
    control_->setFixedWidth(newWidth_);
}
