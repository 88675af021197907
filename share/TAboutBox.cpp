#include "share/TAboutBox.h"

#include "share/Addresses.h"
#include "share/WindowFont.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QProcess>
#include <QScreen>
#include <algorithm>

TAboutBox* AboutBox = nullptr;

namespace {

// The desktop's opener picks the browser or mail program the user chose; if
// it cannot, there is nothing the box could do about it.
void openAddress(const QString& address) {
    QProcess::startDetached(QStringLiteral("xdg-open"), {address});
}

} // namespace

TAboutBox::TAboutBox(QWidget* owner) : QDialog(owner) {
    setFont(WindowFont(11));
    setupUi(this);
    Version->setText(QStringLiteral("Version : " PELLIWICK_VERSION));
    Label7->setText(QString::fromUtf8(Addresses::WebSite));
    Label9->setText(QStringLiteral("Email : ") + QString::fromUtf8(Addresses::Support));
    // The layout's bounds were drawn for another face: a caption that would be
    // cut off widens its label to the right instead.
    for (QLabel* caption : {ProductName, Version, Copyright, Label7, Label9}) {
        const int inkWidth = caption->fontMetrics().boundingRect(caption->text()).right() + 1;
        caption->resize(std::max(caption->width(), inkWidth), caption->height());
    }
    // A box of fixed size with nothing on its caption but the close button.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    // Centred on the screen rather than over the main window.
    move(screen()->geometry().center() - rect().center());
    Label7->installEventFilter(this);
    Label9->installEventFilter(this);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::Label7Click(QObject*) {
    openAddress(QString::fromUtf8(Addresses::HomePage));
}

void TAboutBox::Label9Click(QObject*) {
    openAddress(QStringLiteral("mailto:") + QString::fromUtf8(Addresses::Support));
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
    // The links are clicked as buttons are: the left button let go over them.
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* release = static_cast<QMouseEvent*>(event);
        const auto* link = static_cast<QWidget*>(watched);
        if (release->button() == Qt::LeftButton &&
            link->rect().contains(release->position().toPoint())) {
            if (link == Label7)
                Label7Click(Label7);
            else if (link == Label9)
                Label9Click(Label9);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutBox::keyPressEvent(QKeyEvent* event) {
    // The box has no Cancel button: only OK and the caption's close button
    // end it.
    if (event->matches(QKeySequence::Cancel))
        return;
    QDialog::keyPressEvent(event);
}
