#pragma once

#include "support/ModalScript.h"

#include <QMessageBox>

// Accepts every message box that comes up within a deadline, and records what
// each showed.
class ModalAnswerer {
public:
    struct Seen {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
    };

    explicit ModalAnswerer(int deadlineMs = HangMs)
        : script_({[this](QWidget* modal) {
                      if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                          seen_.push_back({box->windowTitle(), box->text(), box->icon()});
                          box->accept();
                      }
                  }},
                  deadlineMs, ModalScript::Steps::LastRepeats) {}

    const std::vector<Seen>& seen() const { return seen_; }

private:
    std::vector<Seen> seen_;
    ModalScript script_;
};
