// A game's saves in the user's hands, through the saves dialog with its file
// dialogs and questions answered as the user answers them: what it lists,
// and the disk after each export, import and delete. Whether a game that
// plays starts again with the changed saves is SavesDialogEndToEnd's.
#include "app/TMainForm.h"
#include "app/TSavesBox.h"
#include "library/SaveStore.h"
#include "players/TShockwaveFlash.h"
#include "support/ModalScript.h"
#include "support/Snapshot.h"
#include "support/SolBytes.h"
#include "support/TestMain.h"
#include "support/TreeBuilder.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <sys/stat.h>

class SavesBoxTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TreeBuilder> tree_;
    std::unique_ptr<TMainForm> form_;
    std::string movie_;
    std::string own_;

    std::string store() const { return tree_->path("data/pelliwick-saves"); }
    std::unique_ptr<TSavesBox> openBox() {
        return std::make_unique<TSavesBox>(
            form_.get(), GameFile::ofEntry(tree_->path("library/Action"), {"pong", {}}),
            form_->ShockwaveFlash1);
    }
    QStringList rows(const TSavesBox& box) const {
        QStringList rows;
        for (int row = 0; row < box.ListView1->topLevelItemCount(); ++row)
            rows << box.ListView1->topLevelItem(row)->text(0) + QLatin1Char('|') +
                        box.ListView1->topLevelItem(row)->text(3);
        return rows;
    }
    void chooseAll(TSavesBox& box) {
        for (int row = 0; row < box.ListView1->topLevelItemCount(); ++row)
            box.ListView1->topLevelItem(row)->setSelected(true);
    }
    // A step that types into a file dialog's name box and accepts it.
    static ModalScript::Step typeInto(const QString& text) {
        return [text](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(text);
            QMetaObject::invokeMethod(dialog, "accept");
        };
    }
    // Files of the folder "picked" as the file dialog's name box takes
    // several: each in quotes.
    QString picked(const std::vector<std::string>& names) const {
        QStringList quoted;
        for (const std::string& name : names)
            quoted << QStringLiteral("\"%1\"").arg(
                QString::fromStdString(tree_->path("picked/" + name)));
        return quoted.join(QLatin1Char(' '));
    }
    // A step that answers a message box with the button given, keeping its text.
    static ModalScript::Step answer(QMessageBox::StandardButton button, QString* text = nullptr) {
        return [button, text](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            if (text)
                *text = box->text();
            if (QAbstractButton* pressed = box->button(button))
                pressed->click();
            else
                box->accept();
        };
    }

private slots:
    void init() {
        tree_ = std::make_unique<TreeBuilder>();
        tree_->folder("library");
        tree_->folder("library/Action");
        tree_->file("library/Action/pong.swf");
        // The saves of this test alone.
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(tree_->path("data")));
        form_ = std::make_unique<TMainForm>(tree_->path("library/pelliwick"));
        movie_ = GameFile::ofEntry(tree_->path("library/Action"), {"pong", {}}).savesKey();
        own_ = store() + "/" + movie_;
        const SaveStore saves(store());
        const std::string folderKey = movie_.substr(0, movie_.rfind('/'));
        int minute = 1;
        for (const auto& [key, name] : std::vector<std::pair<std::string, QByteArray>>{
                 {movie_ + "/progress", "progress"},
                 {folderKey + "/best", "best"},
                 {movie_ + "/#levels/one", "levels/one"}}) {
            const auto place = SaveStore::placeOf(key);
            QVERIFY(place);
            QCOMPARE(saves.put(*place, engineSave(name, minute).toStdString()), SaveResult::Done);
            const std::string file =
                store() + "/localhost/" + place->shelf + "/" + place->name + ".sol";
            const timespec times[2] = {{minute * 60, 0}, {minute * 60, 0}};
            QCOMPARE(utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
            ++minute;
        }
    }
    void cleanup() {
        form_.reset();
        tree_.reset();
    }

    void list_showsTheGamesOwnAndShared_newestFirst() {
        const auto box = openBox();
        QCOMPARE(rows(*box), (QStringList{"levels/one|", "best|shared", "progress|"}));
        QVERIFY(box->windowTitle().contains(QLatin1String("pong")));
    }

    void export_writesTheStoresBytes_andReplacesOnlyWhenTold() {
        tree_->folder("out");
        const auto box = openBox();
        chooseAll(*box);
        {
            ModalScript script({typeInto(QString::fromStdString(tree_->path("out")))});
            box->ExportButtonClick(box->ExportButton);
        }
        const Snapshot ownSaves = snapshot(own_);
        QCOMPARE(snapshot(tree_->path("out")),
                 (Snapshot{{"progress.sol", ownSaves.at("progress.sol")},
                           {"levels_one.sol", ownSaves.at("#levels/one.sol")},
                           {"best.sol", engineSave("best", 2).toStdString()}}));

        // Once more: the files there are the user's, replaced only when told.
        tree_->file("out/progress.sol", "the user's own");
        box->ListView1->clearSelection();
        box->ListView1->topLevelItem(2)->setSelected(true);
        QString asked;
        {
            ModalScript script({typeInto(QString::fromStdString(tree_->path("out"))),
                                answer(QMessageBox::No, &asked)});
            box->ExportButtonClick(box->ExportButton);
        }
        QVERIFY2(asked.contains(QLatin1String("progress.sol")), qPrintable(asked));
        QCOMPARE(snapshot(tree_->path("out")).at("progress.sol"), std::string("the user's own"));
        {
            ModalScript script(
                {typeInto(QString::fromStdString(tree_->path("out"))), answer(QMessageBox::Yes)});
            box->ExportButtonClick(box->ExportButton);
        }
        QCOMPARE(snapshot(tree_->path("out")).at("progress.sol"), ownSaves.at("progress.sol"));

        // A folder no file can be written in: said, and nothing left there.
        QString said;
        {
            ModalScript script(
                {typeInto(QStringLiteral("/proc/self")), answer(QMessageBox::Ok, &said)});
            box->ExportButtonClick(box->ExportButton);
        }
        QVERIFY2(said.contains(QLatin1String("/proc/self/progress.sol")), qPrintable(said));
        struct stat st;
        QVERIFY(lstat("/proc/self/progress.sol", &st) != 0);
    }

    void import_takesWholeSaves_refusesTheRest_andSaysWhich() {
        tree_->folder("picked");
        const QByteArray replacing = engineSave("progress", 42);
        tree_->file("picked/replacing.sol", replacing.toStdString());
        tree_->file("picked/new.sol", engineSave("fresh", 7).toStdString());
        tree_->file("picked/damaged.sol", replacing.left(replacing.size() - 2).toStdString());
        tree_->file("picked/big.sol", solFile("big", 3,
                                              QByteArray("\x0B"
                                                         "bytes\x0C\x81\x80\x80\x01",
                                                         11) +
                                                  QByteArray(2 << 20, 'x') + QByteArray(1, '\0'))
                                          .toStdString());
        tree_->link("picked/shadow.sol", "/etc/shadow");
        mkfifo(tree_->path("picked/pipe.sol").c_str(), 0644);
        tree_->file("picked/up.sol", engineSave("../../escape", 1).toStdString());
        tree_->file("picked/absolute.sol", engineSave("/etc/x", 1).toStdString());
        tree_->file("picked/nul.sol", engineSave(QByteArray("a\0b", 3), 1).toStdString());
        const Snapshot before = snapshot(store());
        const auto box = openBox();
        QString report;
        {
            ModalScript script(
                {typeInto(picked({"replacing.sol", "new.sol", "damaged.sol", "big.sol",
                                  "shadow.sol", "pipe.sol", "up.sol", "absolute.sol", "nul.sol"})),
                 answer(QMessageBox::Yes), answer(QMessageBox::Ok, &report)});
            box->ImportButtonClick(box->ImportButton);
            QCOMPARE(script.done(), size_t(3));
        }
        for (const char* refused : {"damaged.sol", "big.sol", "shadow.sol", "pipe.sol", "up.sol",
                                    "absolute.sol", "nul.sol"})
            QVERIFY2(report.contains(QLatin1String(refused)), qPrintable(report));
        QVERIFY2(!report.contains(QLatin1String("new.sol")), qPrintable(report));

        Snapshot expected = before;
        expected[movie_ + "/progress.sol"] = replacing.toStdString();
        expected[movie_ + "/fresh.sol"] = engineSave("fresh", 7).toStdString();
        QCOMPARE(snapshot(store()), expected);
        QCOMPARE(rows(*box), (QStringList{"fresh|", "progress|", "levels/one|", "best|shared"}));
    }

    void delete_asksFirst_thenRemovesTheChosenAlone() {
        const auto box = openBox();
        const Snapshot before = snapshot(store());
        box->ListView1->clearSelection();
        box->ListView1->topLevelItem(0)->setSelected(true); // levels/one
        box->ListView1->topLevelItem(2)->setSelected(true); // progress
        {
            ModalScript script({answer(QMessageBox::No)});
            box->DeleteButtonClick(box->DeleteButton);
        }
        QCOMPARE(snapshot(store()), before);
        {
            ModalScript script({answer(QMessageBox::Yes)});
            box->DeleteButtonClick(box->DeleteButton);
        }
        Snapshot expected = before;
        expected.erase(movie_ + "/progress.sol");
        expected.erase(movie_ + "/#levels/one.sol");
        QCOMPARE(snapshot(store()), expected);
        QCOMPARE(rows(*box), (QStringList{"best|shared"}));
    }
};

PELLIWICK_TEST_MAIN(SavesBoxTest)
#include "SavesBoxTest.moc"
