#pragma once

#include "ui_frmMove.h"

#include <QDialog>

// Moves the selected game of the main window into another category folder.
class TMoveBox : public QDialog, public Ui::TMoveBox {
    Q_OBJECT
public:
    explicit TMoveBox(QWidget* owner);

    // Empties the player, moves the game's file without replacing anything,
    // and takes its entry off the list; says so when the move fails.
    void OKButtonClick(QObject* Sender);

protected:
    // Only OK and the window's close button end the dialog.
    void keyPressEvent(QKeyEvent* event) override;
};

// The Move dialog while it is open.
extern TMoveBox* MoveBox;
