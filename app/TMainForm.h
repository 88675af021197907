#pragma once

#include "library/CommandResult.h"
#include "library/FileSystem.h"
#include "ui_frmMain.h"

#include <QFileDialog>
#include <QMenu>
#include <QWidget>
#include <string>
#include <vector>

// The main window: the library panel with the category selector, the game list
// and the name box; the player area right of the splitter; the toolbar on top.
class TMainForm : public QWidget, public Ui::TMainForm {
    Q_OBJECT
public:
    // Category folders are looked for beside executablePath.
    explicit TMainForm(std::string executablePath = FileSystem::executablePath());
    ~TMainForm() override;

    // The selected category's folder, rebuilt at every listing; empty before
    // the first one.
    const std::string& currentCategoryFolder() const { return currentCategoryFolder_; }
    // The folder the category folders sit in, with its trailing "/".
    std::string executableFolder() const;

    // The open-file dialog of Add.
    QFileDialog* const OpenDialog1;
    // A game's menu, on a right click in the game list, and its one entry.
    QMenu* const PopupMenu1;
    QAction* const SavesItem;

    // Lists the selected category: fills the game list and the count label.
    void ComboBox1Change(QObject* Sender);
    // Leaves the keyboard focus on the game player with its input freshly
    // activated, whatever held the focus before.
    void FormPaint(QObject* Sender);
    // Plays the selected entry and puts its name into the name box.
    void ListBox1Click(QObject* Sender);
    // Empties the player, before its game file is deleted or moved away.
    void UnloadPlayer();
    // A file the program was started with: a game one of its categories
    // lists is shown there and played as a click plays it; a game from
    // elsewhere is added as Add adds one, into the category the user picks,
    // then played. Anything else is named in a message, and the window
    // stays as it was.
    void openFile(const std::string& path);

    // Add: copies a game picked in the open-file dialog into the category.
    void SpeedButton1Click(QObject* Sender);
    // Files from another program dragged over the game list: taken when Add
    // could add any of them, a game file whose name the category lacks.
    void ListBox1DragOver(QObject* Sender, const std::vector<std::string>& Files, bool& Accept);
    // Files dropped onto the game list: each game file added as Add adds
    // one, each on its own.
    void ListBox1DragDrop(QObject* Sender, const std::vector<std::string>& Files);
    // A right click on a game: its menu.
    void ListBox1ContextPopup(QObject* Sender, const QPoint& Where);
    // Saves...: the selected game's saves, in their dialog.
    void SavesItemClick(QObject* Sender);
    // Delete: the selected game's file, after emptying the player.
    void SpeedButton2Click(QObject* Sender);
    // Modify: renames the selected game's file to the name box's text.
    void SpeedButton3Click(QObject* Sender);
    // Move to ...: the Move dialog, for the selected game.
    void SpeedButton4Click(QObject* Sender);
    // Tell a friend: a message about the program, opened in the user's mail
    // program for the user to address and send.
    void SpeedButton5Click(QObject* Sender);
    // About: the About box.
    void SpeedButton6Click(QObject* Sender);

    // The window of the page the web page pane shows, if any.
    QWebEnginePage* GetPageWindow();
    // Pass focus on into that page's window.
    void CppWebBrowserEnter(QObject* Sender);
    void CppWebBrowserNavigateComplete2(QObject* Sender);
    void CppWebBrowserDocumentComplete(QObject* Sender);

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Add's file work: the game file at source copied into the category
    // under its own name, and its entry appended in its own letter case.
    CommandResult addGameFile(const std::string& source);
    // A message of the program's own, captioned with its title.
    void tell(const QString& message);

    const std::string executablePath_;
    std::string currentCategoryFolder_;
};

// The one main window, set while it is being built.
extern TMainForm* MainForm;
