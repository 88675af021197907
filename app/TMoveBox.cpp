#include "app/TMoveBox.h"

#include "app/CommandLog.h"
#include "app/TMainForm.h"
#include "library/CategoryTable.h"
#include "library/GameCommands.h"

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
    const GameFile game =
        GameFile::ofEntry(MainForm->currentCategoryFolder(), MainForm->ListBox1->entry(row));
    const GameFile moved =
        game.movedTo(MainForm->executableFolder() +
                     CategoryTable::folderName(ComboBox1->currentText().toStdString()));
    if (CommandLog::done(GameCommands::move(game, moved))) {
        MainForm->ListBox1->remove(row);
        MainForm->ShockwaveFlash1->gameMoved(game, moved);
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
