#include "TCppWebBrowser.h"

TCppWebBrowser::TCppWebBrowser(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
}
