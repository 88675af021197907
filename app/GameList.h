#pragma once

#include "library/GameEntries.h"

#include <QListView>
#include <string>
#include <vector>

// The game list: one entry per game, in the order added, one selected at
// most. An entry is the bytes of a file name, shown as the text the user
// reads, and the folder within the category that the file lies in; the
// commands act on the bytes, so that a name that is not UTF-8 still finds
// its file. Backed by a model of its own, so that a category of
// many thousand games lists at once.
class GameList : public QListView {
    Q_OBJECT
public:
    static constexpr int ItemHeight = 16;

    explicit GameList(QWidget* parent = nullptr);

    int count() const;
    // The selected entry's row, -1 when none is selected.
    int selectedRow() const;
    // An entry, and its name's text as shown; empty for no such row.
    GameEntry entry(int row) const;
    QString text(int row) const;
    QStringList texts() const;
    void clear();
    void append(GameEntries entries);
    // One entry at the end, not selected.
    void append(GameEntry entry);
    // A new name for the entry, in its folder.
    void rename(int row, std::string name);
    // Removes the entry; afterwards no entry is selected.
    void remove(int row);
    // The first row that holds entry; -1 when none does.
    int find(const GameEntry& entry) const;
    // Selects the row and scrolls it into sight, as a click would leave it,
    // without the click's signal.
    void select(int row);

signals:
    // The user picked an entry: clicked one (again, even), or moved the
    // selection with the keyboard.
    void Click();
    // Files dragged onto the list, as the bytes of their paths (anything
    // that is not a local file left out): the handler says whether the list
    // takes them. Asked once as the drag comes in.
    void DragOver(const std::vector<std::string>& Files, bool& Accept);
    // Files dropped onto the list, after the handler took them.
    void DragDrop(const std::vector<std::string>& Files);
    // The user asked for an entry's menu (a right click on it, or the menu
    // key), which is selected first, at that place on the screen.
    void ContextPopup(const QPoint& Where);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    class Entries;
    Entries* entries_;
    // The handler's answer for the drag under way.
    bool dragAccepted_ = false;
};
