#pragma once

#include <QLabel>

class QGraphicsOpacityEffect;
class QPropertyAnimation;
class QTimer;

// Says how to leave full screen, as browsers and the Flash player did: a
// line over the top of the screen as full screen begins, which stays a few
// seconds and then fades. It takes no key and no click: the game under it
// gets them all.
class FullScreenNotice : public QLabel {
    Q_OBJECT
public:
    // How long the notice stays whole, and how long it then takes to fade.
    static constexpr int ShownMs = 3000;
    static constexpr int FadeMs = 1000;

    // Lies over the top of parent, its other children under it.
    explicit FullScreenNotice(QWidget* parent);

    // Shown afresh, whole.
    void present();
    // Gone at once.
    void dismiss();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place();

    QGraphicsOpacityEffect* const opacity_;
    QTimer* const shown_;
    QPropertyAnimation* const fade_;
};
