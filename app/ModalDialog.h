#pragma once

#include <QWidget>
#include <memory>

// How every dialog of the program lives: built afresh from its layout at each
// opening, owned by the main window while open, run modally, destroyed the
// moment its modal run ends. instance is the dialog's global pointer: set at
// each opening and not cleared afterwards; nothing reads it once the dialog is
// gone. The modal result is not used: a dialog acts in its own handlers.
template <class Dialog> void OpenModalDialog(Dialog*& instance, QWidget* owner) {
    const std::unique_ptr<Dialog> dialog(instance = new Dialog(owner));
    dialog->exec();
}
