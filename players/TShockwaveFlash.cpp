#include "TShockwaveFlash.h"

TShockwaveFlash::TShockwaveFlash(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
}

void TShockwaveFlash::SetFocus() {
    setFocus(Qt::OtherFocusReason);
}
