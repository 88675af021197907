#pragma once

#include <QWidget>

// The bar between the library panel and the player area. Dragging it shows a
// patterned line where it would go and resizes the library panel when the
// mouse button is released. Neither side gets narrower than MinSize: the player
// area stops there, and a library panel dragged to MinSize or less snaps shut.
class Splitter : public QWidget {
    Q_OBJECT
public:
    static constexpr int MinSize = 30;

    explicit Splitter(QWidget* parent = nullptr);

    // The left-aligned control whose width the splitter sets.
    void setResizedControl(QWidget* control) { control_ = control; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int widthAt(const QMouseEvent* event) const;

    QWidget* control_ = nullptr;
    QWidget* dragLine_ = nullptr;
    int grabX_ = 0;
    int newWidth_ = 0;
};
