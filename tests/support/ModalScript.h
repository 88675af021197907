#pragma once

#include "support/Hang.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <vector>

// Modal windows run event loops of their own. This acts on the ones that come
// up, one after another: each new modal window gets the next step, from a
// timer, within a deadline; with LastRepeats, the last step takes every modal
// window after it too.
class ModalScript : public QObject {
public:
    using Step = std::function<void(QWidget*)>;
    enum class Steps { Once, LastRepeats };

    explicit ModalScript(std::vector<Step> steps, int deadlineMs = HangMs, Steps mode = Steps::Once)
        : steps_(std::move(steps)) {
        clock_.start();
        connect(&timer_, &QTimer::timeout, this, [this, deadlineMs, mode] {
            QWidget* modal = QApplication::activeModalWidget();
            const bool more = done_ < steps_.size() || mode == Steps::LastRepeats;
            if (modal && modal != last_ && more && !steps_.empty()) {
                last_ = modal;
                steps_[std::min(done_++, steps_.size() - 1)](modal);
            } else if (clock_.elapsed() > deadlineMs) {
                timer_.stop();
            }
        });
        timer_.start(10);
    }

    // How many steps have run.
    size_t done() const { return done_; }

private:
    std::vector<Step> steps_;
    size_t done_ = 0;
    QPointer<QWidget> last_;
    QTimer timer_;
    QElapsedTimer clock_;
};
