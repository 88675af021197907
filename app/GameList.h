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
    QStringList entries() const { return model_.stringList(); }
    void clear() { model_.setStringList({}); }
    void append(const std::vector<std::string>& entries);

private:
    QStringListModel model_;
};
