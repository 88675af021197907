#include "app/GameList.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>

namespace {

// Every entry is one line of ItemHeight pixels, whatever the font and style.
class ItemHeightDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), GameList::ItemHeight};
    }
};

} // namespace

GameList::GameList(QWidget* parent) : QListView(parent) {
    setModel(&model_);
    setItemDelegate(new ItemHeightDelegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void GameList::append(const std::vector<std::string>& entries) {
    QStringList texts = model_.stringList();
    texts.reserve(texts.size() + static_cast<qsizetype>(entries.size()));
    for (const std::string& entry : entries)
        texts.append(QString::fromStdString(entry));
    model_.setStringList(texts);
}

int GameList::selectedRow() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void GameList::append(const QString& entry) {
    const int row = model_.rowCount();
    model_.insertRows(row, 1);
    model_.setData(model_.index(row), entry);
}

void GameList::setEntry(int row, const QString& text) {
    model_.setData(model_.index(row), text);
}

void GameList::remove(int row) {
    model_.removeRows(row, 1);
    clearSelection();
    setCurrentIndex(QModelIndex());
}

void GameList::mousePressEvent(QMouseEvent* event) {
    QListView::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        emit Click();
}

void GameList::keyPressEvent(QKeyEvent* event) {
    const QModelIndex before = currentIndex();
    QListView::keyPressEvent(event);
    if (currentIndex() != before && currentIndex().isValid())
        emit Click();
}
