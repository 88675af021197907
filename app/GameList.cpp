#include "app/GameList.h"

#include "library/FileNameText.h"

#include <QAbstractListModel>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
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

// The local files a drag offers, as the bytes of their paths: a file
// manager writes a name that is not UTF-8 percent-encoded byte by byte. A
// path holding a NUL names no file: the disk would read it only up to the
// NUL, and copy one file under another's name.
std::vector<std::string> localFiles(const QMimeData* data) {
    std::vector<std::string> files;
    for (const QUrl& url : data->urls()) {
        if (url.scheme() != QLatin1String("file") ||
            (!url.host().isEmpty() && url.host() != QLatin1String("localhost")))
            continue;
        const QByteArray path =
            QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
        if (!path.contains('\0'))
            files.push_back(path.toStdString());
    }
    return files;
}

// The list copies what is dropped, whatever the source proposes.
void answerDrag(QDropEvent* event, bool accepted) {
    if (accepted && (event->possibleActions() & Qt::CopyAction)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

} // namespace

// The entries' bytes; their text is made only for the lines on screen.
class GameList::Entries : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    GameEntries names;

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : int(names.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        return text(index.row());
    }
    QString text(int row) const {
        if (row < 0 || row >= int(names.size()))
            return {};
        return QString::fromStdU16String(FileNameText::readable(names.name(size_t(row))));
    }
    void reset(GameEntries all) {
        beginResetModel();
        names = std::move(all);
        endResetModel();
    }
    void append(GameEntries more) {
        if (more.empty())
            return;
        beginInsertRows({}, int(names.size()), int(names.size() + more.size()) - 1);
        names.append(std::move(more));
        endInsertRows();
    }
    void rename(int row, std::string name) {
        names.rename(size_t(row), std::move(name));
        emit dataChanged(index(row), index(row));
    }
    void remove(int row) {
        beginRemoveRows({}, row, row);
        names.erase(size_t(row));
        endRemoveRows();
    }
};

GameList::GameList(QWidget* parent) : QListView(parent), entries_(new Entries(this)) {
    setModel(entries_);
    setItemDelegate(new ItemHeightDelegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAcceptDrops(true);
}

int GameList::count() const {
    return int(entries_->names.size());
}

GameEntry GameList::entry(int row) const {
    return row >= 0 && row < count() ? entries_->names[size_t(row)] : GameEntry();
}

QString GameList::text(int row) const {
    return entries_->text(row);
}

QStringList GameList::texts() const {
    QStringList texts;
    for (int row = 0; row < count(); ++row)
        texts << text(row);
    return texts;
}

void GameList::clear() {
    entries_->reset({});
}

void GameList::append(GameEntries entries) {
    // A whole listing at once is a new model, which the view takes fastest.
    if (entries_->names.empty())
        entries_->reset(std::move(entries));
    else
        entries_->append(std::move(entries));
}

void GameList::append(GameEntry entry) {
    GameEntries one;
    one.push_back(std::move(entry));
    entries_->append(std::move(one));
}

int GameList::selectedRow() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void GameList::rename(int row, std::string name) {
    if (row < 0 || row >= count())
        return;
    entries_->rename(row, std::move(name));
}

void GameList::remove(int row) {
    if (row < 0 || row >= count())
        return;
    entries_->remove(row);
    clearSelection();
    setCurrentIndex(QModelIndex());
}

int GameList::find(const GameEntry& entry) const {
    for (int row = 0; row < count(); ++row)
        if (entries_->names.name(size_t(row)) == entry.name && this->entry(row) == entry)
            return row;
    return -1;
}

void GameList::select(int row) {
    setCurrentIndex(model()->index(row, 0));
    scrollTo(currentIndex());
}

void GameList::mousePressEvent(QMouseEvent* event) {
    QListView::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        emit Click();
}

void GameList::contextMenuEvent(QContextMenuEvent* event) {
    // From the keyboard, the menu is that of the entry selected.
    const QModelIndex at =
        event->reason() == QContextMenuEvent::Mouse ? indexAt(event->pos()) : currentIndex();
    if (!at.isValid())
        return;
    setCurrentIndex(at);
    emit ContextPopup(event->reason() == QContextMenuEvent::Mouse
                          ? event->globalPos()
                          : viewport()->mapToGlobal(visualRect(at).center()));
}

void GameList::keyPressEvent(QKeyEvent* event) {
    const QModelIndex before = currentIndex();
    QListView::keyPressEvent(event);
    if (currentIndex() != before && currentIndex().isValid())
        emit Click();
}

void GameList::dragEnterEvent(QDragEnterEvent* event) {
    dragAccepted_ = false;
    emit DragOver(localFiles(event->mimeData()), dragAccepted_);
    answerDrag(event, dragAccepted_);
}

void GameList::dragMoveEvent(QDragMoveEvent* event) {
    answerDrag(event, dragAccepted_);
}

void GameList::dropEvent(QDropEvent* event) {
    answerDrag(event, dragAccepted_);
    if (event->isAccepted())
        emit DragDrop(localFiles(event->mimeData()));
}
