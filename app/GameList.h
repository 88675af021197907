#pragma once

#include <QListView>
#include <QStringListModel>
#include <string>
#include <vector>

// The game list: one plain text per game, in the order added, one selected at
// most. Backed by a string model, so that a category of many thousand games
// lists at once.
class GameList : public QListView {
    Q_OBJECT
public:
    static constexpr int ItemHeight = 16;

    explicit GameList(QWidget* parent = nullptr);

    int count() const { return model_.rowCount(); }
    // The selected entry's row, -1 when none is selected.
    int selectedRow() const;
    QString entry(int row) const { return model_.stringList().value(row); }
    QStringList entries() const { return model_.stringList(); }
    void clear() { model_.setStringList({}); }
    void append(const std::vector<std::string>& entries);
    // One entry at the end, not selected.
    void append(const QString& entry);
    void setEntry(int row, const QString& text);
    // Removes the entry; afterwards no entry is selected.
    void remove(int row);

signals:
    // The user picked an entry: clicked one (again, even), or moved the
    // selection with the keyboard.
    void Click();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QStringListModel model_;
};
