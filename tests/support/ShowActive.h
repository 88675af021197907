#pragma once

#include "support/Hang.h"

#include <QTest>
#include <QWidget>

// Shows a window and makes it the active one. Under a bare X server no window
// manager activates a new window, so ask for it once it is on screen.
[[nodiscard]] inline bool showActive(QWidget* window) {
    window->show();
    if (!QTest::qWaitForWindowExposed(window, HangMs))
        return false;
    for (int attempt = 0; attempt < 10; ++attempt) {
        window->activateWindow();
        if (QTest::qWaitForWindowActive(window, 1000))
            return true;
    }
    return false;
}
