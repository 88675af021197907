#include "app/TSavesBox.h"

#include "library/FileNameText.h"
#include "library/FileSystem.h"
#include "library/SolFile.h"
#include "players/SaveBridge.h"
#include "players/TShockwaveFlash.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLocale>
#include <QMessageBox>
#include <QUrl>
#include <sys/stat.h>

namespace {

QString readable(const std::string& bytes) {
    return QString::fromStdU16String(FileNameText::readable(bytes));
}

// A save's file when exported: its name, a name of folders flattened.
std::string exportName(std::string name) {
    std::replace(name.begin(), name.end(), '/', '_');
    return name + ".sol";
}

} // namespace

TSavesBox::TSavesBox(QWidget* owner, GameFile game, TShockwaveFlash* player)
    : QDialog(owner), game_(std::move(game)), player_(player) {
    setupUi(this);
    setWindowTitle(tr("Saves of %1").arg(QString::fromStdU16String(game_.shownName())));
    ListView1->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    ListView1->header()->setStretchLastSection(false);
    connect(ExportButton, &QPushButton::clicked, this, [this] { ExportButtonClick(ExportButton); });
    connect(ImportButton, &QPushButton::clicked, this, [this] { ImportButtonClick(ImportButton); });
    connect(DeleteButton, &QPushButton::clicked, this, [this] { DeleteButtonClick(DeleteButton); });
    connect(FolderButton, &QPushButton::clicked, this, [this] { FolderButtonClick(FolderButton); });
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(ListView1, &QTreeWidget::itemSelectionChanged, this, [this] {
        const bool any = !ListView1->selectedItems().isEmpty();
        ExportButton->setEnabled(any);
        DeleteButton->setEnabled(any);
    });
    Refresh();
    ListView1->setFocus();
}

void TSavesBox::Refresh() {
    saves_ = player_->savesOnDisk()->savesOf(game_.savesKey());
    ListView1->clear();
    const QLocale locale;
    for (const SaveStore::Listed& save : saves_)
        new QTreeWidgetItem(
            ListView1,
            {readable(save.name), locale.formattedDataSize(qint64(save.bytes)),
             locale.toString(QDateTime::fromMSecsSinceEpoch(save.writtenMs), QLocale::ShortFormat),
             save.shared ? tr("shared") : QString()});
    for (int column = 1; column < ListView1->columnCount(); ++column)
        ListView1->resizeColumnToContents(column);
    if (ListView1->topLevelItemCount() > 0)
        ListView1->setCurrentItem(ListView1->topLevelItem(0));
    const bool any = !ListView1->selectedItems().isEmpty();
    ExportButton->setEnabled(any);
    DeleteButton->setEnabled(any);
}

std::vector<SaveStore::Listed> TSavesBox::chosen() const {
    std::vector<SaveStore::Listed> chosen;
    for (int row = 0; row < ListView1->topLevelItemCount(); ++row)
        if (ListView1->topLevelItem(row)->isSelected() && std::size_t(row) < saves_.size())
            chosen.push_back(saves_[std::size_t(row)]);
    return chosen;
}

QFileDialog* TSavesBox::fileDialog(const QString& title) {
    auto* dialog = new QFileDialog(this, title, QDir::homePath());
    dialog->setAttribute(Qt::WA_DeleteOnClose, false);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    return dialog;
}

void TSavesBox::report(const QStringList& lines) {
    if (lines.isEmpty())
        return;
    QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(),
                    lines.join(QLatin1Char('\n')), QMessageBox::Ok, this);
    box.exec();
}

bool TSavesBox::change(const std::vector<std::string>& keys, const std::function<void()>& change) {
    const std::optional<GameFile>& playing = player_->playing();
    const bool seen = playing && std::any_of(keys.begin(), keys.end(), [&](const std::string& key) {
                          return SaveStore::placeFor(playing->savesKey(), key).has_value();
                      });
    if (seen) {
        QMessageBox box(QMessageBox::Information, QCoreApplication::applicationName(),
                        tr("%1 is playing: it will start again, with its saves as they are then.")
                            .arg(QString::fromStdU16String(playing->shownName())),
                        QMessageBox::Ok | QMessageBox::Cancel, this);
        if (box.exec() != QMessageBox::Ok)
            return false;
        player_->changeSaves(change);
    } else {
        change();
    }
    return true;
}

void TSavesBox::ExportButtonClick(QObject*) {
    const std::vector<SaveStore::Listed> saves = chosen();
    if (saves.empty())
        return;
    const std::unique_ptr<QFileDialog> dialog(fileDialog(tr("Export the saves into")));
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return;
    const std::string folder = QFile::encodeName(dialog->selectedFiles().first()).toStdString();
    SaveBridge* bridge = player_->savesOnDisk();
    QStringList lines;
    for (const SaveStore::Listed& save : saves) {
        const std::string target = folder + "/" + exportName(save.name);
        const std::optional<std::string> bytes = bridge->bytesOf(save.key);
        if (!bytes) {
            lines << tr("%1 is no longer among the saves.").arg(readable(save.name));
            continue;
        }
        struct stat st;
        const bool there = lstat(target.c_str(), &st) == 0;
        if (there && QMessageBox::question(
                         this, QCoreApplication::applicationName(),
                         tr("%1 is there already. Replace it?").arg(readable(target)),
                         QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
            continue;
        const FileResult written = FileSystem::writeWhole(
            target, *bytes, there ? FileSystem::Replace::Existing : FileSystem::Replace::Never);
        if (written != FileResult::Done)
            lines << tr("%1 was not written (%2); nothing of it is there.")
                         .arg(readable(target), QLatin1String(nameOf(written)));
    }
    report(lines);
}

void TSavesBox::ImportButtonClick(QObject*) {
    const std::unique_ptr<QFileDialog> dialog(fileDialog(tr("Import saves")));
    dialog->setFileMode(QFileDialog::ExistingFiles);
    dialog->setNameFilter(tr("Flash saves (*.sol)"));
    if (dialog->exec() != QDialog::Accepted)
        return;
    Refresh();
    struct Brought {
        std::string file;
        std::string key;
        std::string bytes;
    };
    std::vector<Brought> brought;
    QStringList lines;
    for (const QString& picked : dialog->selectedFiles()) {
        const std::string file = QFile::encodeName(picked).toStdString();
        std::string bytes;
        const FileResult read = FileSystem::readSmall(file, SaveStore::MaxSaveBytes, bytes);
        const std::optional<std::string> name =
            read == FileResult::Done ? SolFile::nameOf(bytes) : std::nullopt;
        const std::optional<std::string> key =
            name ? SaveStore::ownKey(game_.savesKey(), *name) : std::nullopt;
        if (read == FileResult::TooLarge)
            lines << tr("%1 is larger than a save may be (1 MB): it was not imported.")
                         .arg(readable(file));
        else if (read == FileResult::NotAFile)
            lines << tr("%1 is not a plain file (a link, a folder or a device): it was not "
                        "imported.")
                         .arg(readable(file));
        else if (read != FileResult::Done)
            lines << tr("%1 could not be read (%2): it was not imported.")
                         .arg(readable(file), QLatin1String(nameOf(read)));
        else if (!name)
            lines << tr("%1 is not a Flash save, or a damaged one: it was not imported.")
                         .arg(readable(file));
        else if (!key)
            lines << tr("%1 holds a save named \u201c%2\u201d, a name no save may have: it was "
                        "not imported.")
                         .arg(readable(file), readable(*name));
        else if (std::any_of(saves_.begin(), saves_.end(),
                             [&](const SaveStore::Listed& save) { return save.key == *key; }) &&
                 QMessageBox::question(this, QCoreApplication::applicationName(),
                                       tr("The game has a save named \u201c%1\u201d already. "
                                          "Replace it with the one of %2?")
                                           .arg(readable(*name), readable(file)),
                                       QMessageBox::Yes | QMessageBox::No,
                                       QMessageBox::No) != QMessageBox::Yes)
            continue;
        else
            brought.push_back({file, *key, std::move(bytes)});
    }
    if (!brought.empty()) {
        std::vector<std::string> keys;
        for (const Brought& save : brought)
            keys.push_back(save.key);
        change(keys, [&] {
            SaveBridge* bridge = player_->savesOnDisk();
            for (const Brought& save : brought) {
                const SaveResult result = bridge->bring(game_.savesKey(), save.key, save.bytes);
                if (result == SaveResult::OverBudget || result == SaveResult::StoreFull)
                    lines << tr("%1 does not fit in the room the saves have: it was not imported.")
                                 .arg(readable(save.file));
                else if (result != SaveResult::Done)
                    lines << tr("%1 could not be written among the saves (%2): it was not "
                                "imported.")
                                 .arg(readable(save.file), QLatin1String(nameOf(result)));
            }
        });
    }
    Refresh();
    report(lines);
}

void TSavesBox::DeleteButtonClick(QObject*) {
    const std::vector<SaveStore::Listed> saves = chosen();
    if (saves.empty())
        return;
    if (QMessageBox::question(this, QCoreApplication::applicationName(),
                              tr("Delete %n save(s) of %1 for good?", nullptr, int(saves.size()))
                                  .arg(QString::fromStdU16String(game_.shownName())),
                              QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) != QMessageBox::Yes)
        return;
    std::vector<std::string> keys;
    for (const SaveStore::Listed& save : saves)
        keys.push_back(save.key);
    QStringList lines;
    change(keys, [&] {
        SaveBridge* bridge = player_->savesOnDisk();
        for (const SaveStore::Listed& save : saves)
            if (const SaveResult result = bridge->discard(game_.savesKey(), save.key);
                result != SaveResult::Done)
                lines << tr("%1 could not be deleted (%2).")
                             .arg(readable(save.name), QLatin1String(nameOf(result)));
    });
    Refresh();
    report(lines);
}

void TSavesBox::FolderButtonClick(QObject*) {
    const std::string folder = player_->savesOnDisk()->folderOf(game_.savesKey());
    QDesktopServices::openUrl(
        QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(folder))));
}
