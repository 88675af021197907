#include "app/TMainForm.h"

#include "app/Application.h"
#include "app/CommandLog.h"
#include "app/Glyph.h"
#include "app/ModalDialog.h"
#include "app/TCategoryBox.h"
#include "app/TMoveBox.h"
#include "app/TSavesBox.h"
#include "library/CategoryTable.h"
#include "library/FileNameText.h"
#include "library/GameCommands.h"
#include "library/OpenedFile.h"
#include "library/ScanFolder.h"
#include "share/Addresses.h"
#include "share/SendMail.h"
#include "share/TAboutBox.h"
#include "share/WindowFont.h"

#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QPaintEvent>
#include <QShowEvent>

TMainForm* MainForm = nullptr;

TMainForm::TMainForm(std::string executablePath)
    : OpenDialog1(new QFileDialog(this)), PopupMenu1(new QMenu(this)),
      SavesItem(PopupMenu1->addAction(tr("Saves..."))), executablePath_(std::move(executablePath)) {
    MainForm = this;
    try {
        setupUi(this);
        setWindowTitle(QStringLiteral("Pelliwick " PELLIWICK_VERSION));
        for (const std::string_view caption : CategoryTable::Captions)
            ComboBox1->addItem(QString::fromUtf8(caption.data(), qsizetype(caption.size())));
        Memo2->setPlainText(
            QStringLiteral("Hi,\nTell you  a interesting software---pelliwick ,it can manage your "
                           "little games with classes and include 30 interesting games.\n"
                           "Download web:\n") +
            QString::fromUtf8(Addresses::DownloadPage) + QStringLiteral("\nDownload directly :\n") +
            QString::fromUtf8(Addresses::Installer) + QStringLiteral("\n"));
        // One filter, one file; a typed name need not exist (the copy then
        // fails quietly). Qt's own dialog, the same on every desktop.
        OpenDialog1->setOption(QFileDialog::DontUseNativeDialog);
        OpenDialog1->setNameFilter(QStringLiteral("Flash files (*.swf)"));
        OpenDialog1->setFileMode(QFileDialog::AnyFile);
        OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
        // The filter's description is "Flash files " with its blank, which
        // Qt trims from a filter: its box shows the description as it is,
        // while the dialog filters by the pattern.
        if (auto* filter = OpenDialog1->findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
            filter->setItemText(0, QStringLiteral("Flash files "));
        // Each control takes exactly the bounds the layout gives it; the style
        // would otherwise pull framed panels and the list in by their frame.
        for (QWidget* control : findChildren<QWidget*>())
            if (control->window() == this)
                control->setAttribute(Qt::WA_LayoutUsesWidgetRect);
        ListBox1->setFont(WindowFont(13));
        // Labels take the size of their caption.
        Label1->adjustSize();
        Label3->adjustSize();
        Splitter1->setResizedControl(Panel1);
        SpeedButton1->setIcon(Glyph::icon(QStringLiteral(":/glyph-add.bmp")));
        SpeedButton2->setIcon(Glyph::icon(QStringLiteral(":/glyph-delete.bmp")));
        SpeedButton3->setIcon(Glyph::icon(QStringLiteral(":/glyph-modify.bmp")));
        SpeedButton4->setIcon(Glyph::icon(QStringLiteral(":/glyph-move.bmp")));
        SpeedButton5->setIcon(Glyph::icon(QStringLiteral(":/glyph-tell-a-friend.bmp")));
        SpeedButton6->setIcon(Glyph::icon(QStringLiteral(":/glyph-about.bmp")));
        move(175, 157);
        connect(ComboBox1, &QComboBox::activated, this, [this] { ComboBox1Change(ComboBox1); });
        connect(ListBox1, &GameList::Click, this, [this] { ListBox1Click(ListBox1); });
        connect(ListBox1, &GameList::DragOver, this,
                [this](const std::vector<std::string>& files, bool& accept) {
                    ListBox1DragOver(ListBox1, files, accept);
                });
        connect(ListBox1, &GameList::DragDrop, this, [this](const std::vector<std::string>& files) {
            ListBox1DragDrop(ListBox1, files);
        });
        connect(ListBox1, &GameList::ContextPopup, this,
                [this](const QPoint& where) { ListBox1ContextPopup(ListBox1, where); });
        connect(SavesItem, &QAction::triggered, this, [this] { SavesItemClick(SavesItem); });
        connect(SpeedButton1, &QToolButton::clicked, this,
                [this] { SpeedButton1Click(SpeedButton1); });
        connect(SpeedButton2, &QToolButton::clicked, this,
                [this] { SpeedButton2Click(SpeedButton2); });
        connect(SpeedButton3, &QToolButton::clicked, this,
                [this] { SpeedButton3Click(SpeedButton3); });
        connect(SpeedButton4, &QToolButton::clicked, this,
                [this] { SpeedButton4Click(SpeedButton4); });
        connect(SpeedButton5, &QToolButton::clicked, this,
                [this] { SpeedButton5Click(SpeedButton5); });
        connect(SpeedButton6, &QToolButton::clicked, this,
                [this] { SpeedButton6Click(SpeedButton6); });
        connect(CppWebBrowser, &TCppWebBrowser::Enter, this,
                [this] { CppWebBrowserEnter(CppWebBrowser); });
        connect(CppWebBrowser, &TCppWebBrowser::NavigateComplete2, this,
                [this] { CppWebBrowserNavigateComplete2(CppWebBrowser); });
        connect(CppWebBrowser, &TCppWebBrowser::DocumentComplete, this,
                [this] { CppWebBrowserDocumentComplete(CppWebBrowser); });
    } catch (...) {
        MainForm = nullptr;
        throw;
    }
}

TMainForm::~TMainForm() = default;

std::string TMainForm::executableFolder() const {
    return executablePath_.substr(0, executablePath_.rfind('/') + 1);
}

void TMainForm::ComboBox1Change(QObject*) {
    currentCategoryFolder_ = executableFolder();
    currentCategoryFolder_ += CategoryTable::folderName(
        CategoryTable::Captions.at(static_cast<size_t>(ComboBox1->currentIndex())));
    ListBox1->clear();
    GameEntries entries;
    ScanFolder(currentCategoryFolder_, entries);
    ListBox1->append(std::move(entries));
    Label2->setText(QString::number(ListBox1->count()));
    Label2->adjustSize();
}

void TMainForm::FormPaint(QObject*) {
    // The detour through the name box makes the second step a real change of
    // focus, so the player's input is activated anew.
    Edit1->setFocus(Qt::OtherFocusReason);
    ShockwaveFlash1->SetFocus();
}

void TMainForm::ListBox1Click(QObject*) {
    // Nothing is checked first: a missing or damaged file is the player's
    // affair, and the same entry again plays it again.
    const GameFile game =
        GameFile::ofEntry(currentCategoryFolder_, ListBox1->entry(ListBox1->selectedRow()));
    ShockwaveFlash1->setMovie(game);
    Edit1->setText(QString::fromStdU16String(game.shownName()));
    Edit1->setFocus(Qt::OtherFocusReason);
    ShockwaveFlash1->SetFocus();
}

void TMainForm::UnloadPlayer() {
    ShockwaveFlash1->setMovie(QString());
}

void TMainForm::SpeedButton1Click(QObject*) {
    const int answer = OpenDialog1->exec();
    // The dialog's name completer may still hold its pop-up list when a typed
    // name is opened; it would take the user's next click for itself.
    if (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    if (answer != QDialog::Accepted || OpenDialog1->selectedFiles().isEmpty())
        return;
    addGameFile(QFile::encodeName(OpenDialog1->selectedFiles().first()).toStdString());
}

CommandResult TMainForm::addGameFile(const std::string& source) {
    const GameFile game = GameFile::ofPath(source).movedTo(currentCategoryFolder_);
    const CommandResult result = GameCommands::add(source, game);
    // The file's own letter case; a listing would show it in lower case.
    if (CommandLog::done(result))
        ListBox1->append(game.listEntry());
    return result;
}

void TMainForm::openFile(const std::string& path) {
    const OpenedFile file(path);
    const auto readable = [](const std::string& bytes) {
        return QString::fromStdU16String(FileNameText::readable(bytes));
    };
    if (file.fault() != OpenedFile::Fault::None) {
        const QString shown = readable(file.path());
        switch (file.fault()) {
        case OpenedFile::Fault::NotAFile:
            tell(tr("Cannot open \"%1\": it is not a file.").arg(shown));
            break;
        case OpenedFile::Fault::NotAGame:
            tell(tr("Cannot open \"%1\": only Flash games, files whose name ends in .swf, "
                    "can be opened.")
                     .arg(shown));
            break;
        default:
            tell(tr("Cannot open \"%1\": there is no such file.").arg(shown));
        }
        return;
    }
    const auto showCategory = [this](int category) {
        ComboBox1->setCurrentIndex(category);
        ComboBox1Change(ComboBox1);
    };
    const auto play = [this](int row) {
        ListBox1->select(row);
        ListBox1Click(ListBox1);
    };
    if (const auto listed = file.listedIn(executableFolder())) {
        showCategory(int(listed->category));
        // Gone since it was found, it is a game from elsewhere.
        if (const int row = ListBox1->find(listed->entry); row >= 0) {
            play(row);
            return;
        }
    }
    const QString name = readable(GameFile::ofPath(file.path()).fileName());
    TCategoryBox box(this, name, ComboBox1->currentIndex());
    if (box.exec() != QDialog::Accepted)
        return;
    showCategory(box.category());
    const CommandResult added = addGameFile(file.path());
    if (added.done())
        play(ListBox1->count() - 1);
    else if (added.result == FileResult::TargetExists)
        tell(tr("%1 already has a game named \"%2\": nothing was added.")
                 .arg(ComboBox1->currentText(), name));
    else
        tell(tr("\"%1\" could not be added to %2.").arg(name, ComboBox1->currentText()));
}

void TMainForm::tell(const QString& message) {
    // The application's title is its name.
    QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(), message,
                    QMessageBox::Ok, this);
    box.exec();
}

void TMainForm::ListBox1DragOver(QObject*, const std::vector<std::string>& Files, bool& Accept) {
    Accept = std::any_of(Files.begin(), Files.end(), [this](const std::string& file) {
        return GameCommands::canAdd(file, GameFile::ofPath(file).movedTo(currentCategoryFolder_));
    });
}

void TMainForm::ListBox1DragDrop(QObject*, const std::vector<std::string>& Files) {
    // One that cannot be added leaves the others to be added.
    for (const std::string& file : Files)
        if (GameFile::ofPath(file).hasGameExtension())
            addGameFile(file);
}

void TMainForm::ListBox1ContextPopup(QObject*, const QPoint& Where) {
    PopupMenu1->popup(Where);
}

void TMainForm::SavesItemClick(QObject*) {
    const int row = ListBox1->selectedRow();
    if (row < 0)
        return;
    TSavesBox box(this, GameFile::ofEntry(currentCategoryFolder_, ListBox1->entry(row)),
                  ShockwaveFlash1);
    box.exec();
}

void TMainForm::SpeedButton2Click(QObject*) {
    const int row = ListBox1->selectedRow();
    if (row < 0)
        return;
    const GameFile game = GameFile::ofEntry(currentCategoryFolder_, ListBox1->entry(row));
    // Whatever plays goes first, so no game file is in use when it goes.
    UnloadPlayer();
    if (CommandLog::done(GameCommands::remove(game)))
        ListBox1->remove(row);
}

void TMainForm::SpeedButton3Click(QObject*) {
    const int row = ListBox1->selectedRow();
    if (row < 0)
        return;
    // The name as the list shows it, unchanged, is the same name, whatever
    // its bytes.
    if (Edit1->text() == ListBox1->text(row))
        return;
    const GameFile game = GameFile::ofEntry(currentCategoryFolder_, ListBox1->entry(row));
    const GameFile renamed = game.renamed(FileNameText::bytes(Edit1->text().toStdU16String()));
    if (CommandLog::done(GameCommands::rename(game, renamed))) {
        ListBox1->rename(row, renamed.entry());
        ShockwaveFlash1->gameMoved(game, renamed);
    }
}

void TMainForm::SpeedButton4Click(QObject*) {
    if (ListBox1->selectedRow() < 0)
        return;
    OpenModalDialog(MoveBox, this);
}

void TMainForm::SpeedButton5Click(QObject*) {
    // The memo keeps its lines with bare line feeds; a mail body's lines end
    // in CR LF.
    QString body = Memo2->toPlainText();
    body.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    // Without a mail program nothing happens: there is nothing to report.
    SendMail(QStringLiteral("Hi,Tell you a interesting software"), body);
}

void TMainForm::SpeedButton6Click(QObject*) {
    OpenModalDialog(AboutBox, this);
}

QWebEnginePage* TMainForm::GetPageWindow() {
    try {
        const int state = CppWebBrowser->ReadyState();
        if (state == TCppWebBrowser::Uninitialized || state == TCppWebBrowser::Loading)
            return nullptr;
        // The pane's document is a page; the page is its own window.
        return CppWebBrowser->Document();
    } catch (...) {
        return nullptr;
    }
}

void TMainForm::CppWebBrowserEnter(QObject*) {
    if (QWebEnginePage* window = GetPageWindow())
        CppWebBrowser->focusWindow(window);
}

void TMainForm::CppWebBrowserNavigateComplete2(QObject*) {
    if (QWebEnginePage* window = GetPageWindow())
        CppWebBrowser->focusWindow(window);
}

void TMainForm::CppWebBrowserDocumentComplete(QObject*) {}

void TMainForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Restoring from the taskbar is not a new showing: the list stays as it is.
    if (!event->spontaneous())
        ComboBox1Change(this);
}

void TMainForm::paintEvent(QPaintEvent* event) {
    // The window's own surface is the strip under the splitter; everything
    // else is covered by panels and the player area.
    if (event->region().intersects(Splitter1->geometry()))
        FormPaint(this);
}
