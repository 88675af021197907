#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <functional>

// Modal boxes run their own event loop; this watches for the next one from a
// timer, records what it showed and answers it, within a deadline.
class ModalAnswerer : public QObject {
public:
    struct Seen {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
    };

    explicit ModalAnswerer(int deadlineMs = 5000) {
        clock_.start();
        connect(&timer_, &QTimer::timeout, this, [this, deadlineMs] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                seen_.push_back({box->windowTitle(), box->text(), box->icon()});
                box->accept();
            } else if (clock_.elapsed() > deadlineMs) {
                timer_.stop();
            }
        });
        timer_.start(10);
    }

    const std::vector<Seen>& seen() const { return seen_; }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    std::vector<Seen> seen_;
};
