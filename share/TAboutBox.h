#pragma once

#include "ui_frmAbout.h"

#include <QDialog>

// The About box: the banner, the program's name, version and copyright, and
// two links, to the program's home page and to the support address.
class TAboutBox : public QDialog, public Ui::TAboutBox {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* owner = nullptr);

    // Open the home page in the user's browser and a new message to the
    // support address in the mail program; the box stays open.
    void Label7Click(QObject* Sender);
    void Label9Click(QObject* Sender);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

// The open About box: set at each opening.
extern TAboutBox* AboutBox;
