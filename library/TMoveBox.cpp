#include "library/TMoveBox.h"

#include "app/TMainForm.h"
#include "library/CategoryTable.h"
#include "library/FileSystem.h"
#include "library/GameFile.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QScopeGuard>

TMoveBox* MoveBox = nullptr;

TMoveBox::TMoveBox(QWidget* owner) : QDialog(owner) {
    setupUi(this);
    for (const std::string_view caption : CategoryTable::Captions)
        ComboBox1->addItem(QString::fromUtf8(caption.data(), qsizetype(caption.size())));
    setFixedSize(size());
    connect(OKButton, &QPushButton::clicked, this, [this] {
        // OK closes the dialog whatever the move came to, also when the
        // player refused to let go of its game.
        const auto close = qScopeGuard([this] { accept(); });
        OKButtonClick(OKButton);
    });
}

void TMoveBox::OKButtonClick(QObject*) {
    MainForm->UnloadPlayer();
    const int row = MainForm->ListBox1->selectedRow();
    const std::string name = MainForm->ListBox1->entry(row);
    const std::string target = MainForm->executableFolder() +
                               CategoryTable::folderName(ComboBox1->currentText().toStdString());
    const std::string from = GameFile::path(MainForm->currentCategoryFolder(), name);
    const std::string to = GameFile::path(target, name);
    // An entry that names no file of its folder moves nothing.
    if (GameFile::isPlainName(name) && FileSystem::moveNoReplace(from, to) == FileResult::Done) {
        MainForm->ListBox1->remove(row);
        MainForm->ShockwaveFlash1->gameMoved(from, to);
        return;
    }
    // The application's title is its name.
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(),
                    QStringLiteral("Move is uncompleted!"), QMessageBox::Ok, this);
    box.exec();
}

void TMoveBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Escape)
        QDialog::keyPressEvent(event);
}
