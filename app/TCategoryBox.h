#pragma once

#include "ui_frmCategory.h"

#include <QDialog>

// Asks into which category a game from outside them all is to be added: the
// seven categories as the Move dialog offers them, the one the window shows
// first. OK accepts; Cancel, Escape and the close button add nothing.
class TCategoryBox : public QDialog, public Ui::TCategoryBox {
    Q_OBJECT
public:
    // gameName: the file's name as the user reads it. category: the one
    // offered first, as its place among the captions.
    TCategoryBox(QWidget* owner, const QString& gameName, int category);

    // The category picked, as its place among the captions.
    int category() const { return ComboBox1->currentIndex(); }
};
