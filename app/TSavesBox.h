#pragma once

#include "library/GameFile.h"
#include "library/SaveStore.h"
#include "ui_frmSaves.h"

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QFileDialog;
class TShockwaveFlash;

// One game's saves in the user's hands: listed as they are on disk, its own
// and those it shares with the folders above it, exported as Flash's own
// .sol files, imported from them, deleted, and their folder opened in the
// file manager. Owned by the main window while it is open.
class TSavesBox : public QDialog, public Ui::TSavesBox {
    Q_OBJECT
public:
    TSavesBox(QWidget* owner, GameFile game, TShockwaveFlash* player);

    // The chosen saves written as .sol files into a folder the user picks;
    // a file of that name there is replaced only when the user says so.
    void ExportButtonClick(QObject* Sender);
    // .sol files the user picks, each as the save of the name it holds,
    // within the game's room; what is no save, or cannot be taken, is named
    // and left.
    void ImportButtonClick(QObject* Sender);
    // The chosen saves, after asking.
    void DeleteButtonClick(QObject* Sender);
    // The folder of the game's own saves, in the file manager.
    void FolderButtonClick(QObject* Sender);
    // Lists the saves as they are on disk now.
    void Refresh();

private:
    std::vector<SaveStore::Listed> chosen() const;
    // Runs change on the saves of keys; a game that plays and sees any of
    // them is let go first and played again after, once the user has heard
    // so and not cancelled. False when cancelled.
    bool change(const std::vector<std::string>& keys, const std::function<void()>& change);
    // A modal file dialog of Qt's own, as Add's, the same on every desktop.
    QFileDialog* fileDialog(const QString& title);
    // Tells the user, in one box, what came of some of the files.
    void report(const QStringList& lines);

    const GameFile game_;
    TShockwaveFlash* const player_;
    // The saves as listed, in the list's order.
    std::vector<SaveStore::Listed> saves_;
};
