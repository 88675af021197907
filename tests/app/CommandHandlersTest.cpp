// Add, Delete, Modify and Move as the user runs them from the main window,
// with the dialogs answered as the user answers them: what the window shows
// and does of each, and the disk after each step. Every failure of the file
// work itself is the core's GameCommandsTest's.
#include "app/Application.h"
#include "app/TCategoryBox.h"
#include "app/TMainForm.h"
#include "app/TMoveBox.h"
#include "library/CaseFolding.h"
#include "library/CategoryTable.h"
#include "library/FileNameText.h"
#include "players/TShockwaveFlash.h"
#include "support/ModalScript.h"
#include "support/Snapshot.h"
#include "support/TestMain.h"
#include "support/TreeBuilder.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QRegularExpression>
#include <QTest>
#include <functional>

namespace {

const std::string Playing = "/somewhere/playing.swf";

} // namespace

class CommandHandlersTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TreeBuilder> tree_;
    std::unique_ptr<TMainForm> form_;

    std::string library(const std::string& relative = {}) const {
        return tree_->path("library" + (relative.empty() ? "" : "/" + relative));
    }
    QStringList entries() const { return form_->ListBox1->texts(); }
    void select(const QString& entry) {
        const int row = int(entries().indexOf(entry));
        QVERIFY2(row >= 0, qPrintable(entry));
        form_->ListBox1->setCurrentIndex(form_->ListBox1->model()->index(row, 0));
    }
    // As if a game played: the player holds a movie.
    void play() { form_->ShockwaveFlash1->setMovie(QString::fromStdString("file://" + Playing)); }
    bool playerEmpty() const { return form_->ShockwaveFlash1->movie().isEmpty(); }

    // Types path into the open-file dialog of Add and opens it (or cancels).
    void add(const QString& path) {
        ModalScript script({[&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            if (path.isEmpty()) {
                dialog->reject();
                return;
            }
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            name->setText(path);
            QMetaObject::invokeMethod(dialog, "accept");
        }});
        form_->SpeedButton1Click(form_->SpeedButton1);
        QCOMPARE(script.done(), size_t(1));
    }

    // A file manager's address for a file of the tree: its path's bytes,
    // percent-encoded.
    QByteArray address(const std::string& relative) const {
        return "file://" + QByteArray::fromStdString(tree_->path(relative)).toPercentEncoding("/");
    }
    // Drags the addresses over the game list as another program does and
    // drops them there, once meanwhile has run; whether the list took the
    // drag before the drop.
    bool drop(const QList<QByteArray>& addresses, const std::function<void()>& meanwhile = {}) {
        QMimeData data;
        data.setData(QStringLiteral("text/uri-list"), addresses.join("\r\n") + "\r\n");
        QWidget* list = form_->ListBox1->viewport();
        const QPoint at = list->rect().center();
        const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
        QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(list, &enter);
        QDragMoveEvent over(at, offered, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(list, &over);
        const bool taken = over.isAccepted() && over.dropAction() == Qt::CopyAction;
        if (meanwhile)
            meanwhile();
        QDropEvent dropped(at, offered, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(list, &dropped);
        return taken;
    }

    // Opens the Move dialog, picks category index and presses OK; returns the
    // text of the message box that followed, if any.
    QString move(int category) {
        QString message;
        ModalScript script({[&](QWidget* modal) {
                                auto* box = qobject_cast<TMoveBox*>(modal);
                                QVERIFY(box);
                                QCOMPARE(box->ComboBox1->currentIndex(), 0);
                                box->ComboBox1->setCurrentIndex(category);
                                // Pressed once this step has returned: the
                                // message box that may follow needs the
                                // script's timer again.
                                QTimer::singleShot(0, box->OKButton, &QPushButton::click);
                            },
                            [&](QWidget* modal) {
                                auto* box = qobject_cast<QMessageBox*>(modal);
                                QVERIFY(box);
                                QCOMPARE(box->windowTitle(),
                                         qobject_cast<Application*>(qApp)->title());
                                QCOMPARE(box->icon(), QMessageBox::NoIcon);
                                message = box->text();
                                box->accept();
                            }});
        form_->SpeedButton4Click(form_->SpeedButton4);
        return message;
    }

    // Opens the file as a start with it does. The category dialog, if it
    // comes, is answered with category, -1 for Cancel, after its question is
    // kept in asked; what the messages said is returned.
    QStringList open(const std::string& path, int category = -1, QString* asked = nullptr) {
        QStringList said;
        ModalScript script(
            {[&](QWidget* modal) {
                if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                    QCOMPARE(box->windowTitle(), qobject_cast<Application*>(qApp)->title());
                    said << box->text();
                    box->accept();
                    return;
                }
                auto* dialog = qobject_cast<TCategoryBox*>(modal);
                QVERIFY(dialog);
                QCOMPARE(dialog->ComboBox1->count(), int(CategoryTable::Captions.size()));
                for (int i = 0; i < dialog->ComboBox1->count(); ++i)
                    QCOMPARE(dialog->ComboBox1->itemText(i).toStdString(),
                             CategoryTable::Captions[size_t(i)]);
                QCOMPARE(dialog->category(), form_->ComboBox1->currentIndex());
                if (asked)
                    *asked = dialog->Label1->text();
                if (category < 0) {
                    QTest::keyClick(dialog, Qt::Key_Escape);
                    return;
                }
                dialog->ComboBox1->setCurrentIndex(category);
                // Accepted once this step has returned: the message that may
                // follow needs the script's timer again.
                QTimer::singleShot(0, dialog, &QDialog::accept);
            }},
            HangMs, ModalScript::Steps::LastRepeats);
        form_->openFile(path);
        return said;
    }
    std::string playing() const {
        return FileNameText::bytes(form_->ShockwaveFlash1->movie().toStdU16String());
    }

private slots:
    void init() {
        tree_ = std::make_unique<TreeBuilder>();
        tree_->folder("library");
        tree_->folder("library/Action");
        tree_->folder("library/Sport");
        tree_->file("library/Action/chess.swf", "chess");
        tree_->file("library/Action/Tennis.SWF", "tennis");
        tree_->file("library/Action/tennis.jpg", "picture");
        tree_->file("library/Action/lonely.jpg", "picture only");
        tree_->file("library/Sport/golf.swf", "golf");
        tree_->file("library/Sport/Chess.swf", "other chess");
        tree_->folder("picked");
        tree_->file("picked/Pong.swf", "pong");
        tree_->file("picked/CHESS.swf", "another chess");
        tree_->file("picked/readme.txt", "text");
        tree_->file("outside.swf", "not a game of the library");
        form_ = std::make_unique<TMainForm>(library("pelliwick"));
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get(), HangMs));
        QCOMPARE(entries(), (QStringList{"chess", "lonely", "tennis", "tennis"}));
    }
    void cleanup() {
        form_.reset();
        tree_.reset();
    }

    void add_copiesThePickedGameAndAppendsItsName() {
        add(QString::fromStdString(tree_->path("picked/Pong.swf")));
        QCOMPARE(snapshot(library("Action")).at("Pong.swf"), std::string("pong"));
        QCOMPARE(snapshot(tree_->path("picked")).at("Pong.swf"), std::string("pong"));
        QCOMPARE(entries(), (QStringList{"chess", "lonely", "tennis", "tennis", "Pong"}));
        QCOMPARE(form_->ListBox1->selectedRow(), -1);
        QCOMPARE(form_->Label2->text(), QStringLiteral("4"));
        // Any extension is copied as it is; its entry is its name less four.
        add(QString::fromStdString(tree_->path("picked/readme.txt")));
        QCOMPARE(snapshot(library("Action")).at("readme.txt"), std::string("text"));
        QCOMPARE(entries().last(), QStringLiteral("readme"));
    }

    void add_dialogOffersFlashFilesWithItsBlankAndFiltersBySwf() {
        QString shown;
        QStringList filters;
        ModalScript script({[&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            auto* filter = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            QVERIFY(filter);
            QCOMPARE(filter->count(), 1);
            shown = filter->itemText(0);
            filters = dialog->nameFilters();
            dialog->reject();
        }});
        form_->SpeedButton1Click(form_->SpeedButton1);
        QCOMPARE(script.done(), size_t(1));
        QCOMPARE(shown, QStringLiteral("Flash files "));
        QCOMPARE(filters, QStringList{QStringLiteral("Flash files (*.swf)")});
    }

    void add_thatCannotCopyChangesNothing_data() {
        QTest::addColumn<QString>("picked");
        QTest::newRow("cancelled") << QString();
        QTest::newRow("name taken in other case") << "picked/CHESS.swf";
    }
    void add_thatCannotCopyChangesNothing() {
        QFETCH(QString, picked);
        const Snapshot before = snapshot(tree_->root());
        add(picked.isEmpty() ? picked : QString::fromStdString(tree_->path(picked.toStdString())));
        QCOMPARE(snapshot(tree_->root()), before);
        QCOMPARE(entries(), (QStringList{"chess", "lonely", "tennis", "tennis"}));
    }

    void drop_addsEachGameAsAddDoesAndLeavesATakenName() {
        play();
        QVERIFY(drop({address("picked/CHESS.swf"), address("picked/Pong.swf")}));
        QCOMPARE(snapshot(library("Action")).at("Pong.swf"), std::string("pong"));
        QCOMPARE(snapshot(library("Action")).at("chess.swf"), std::string("chess"));
        QVERIFY(!snapshot(library("Action")).contains("CHESS.swf"));
        QCOMPARE(snapshot(tree_->path("picked")).at("Pong.swf"), std::string("pong"));
        QCOMPARE(entries(), (QStringList{"chess", "lonely", "tennis", "tennis", "Pong"}));
        QCOMPARE(form_->ListBox1->selectedRow(), -1);
        QCOMPARE(form_->Label2->text(), QStringLiteral("4"));
        QCOMPARE(form_->ShockwaveFlash1->movie(), QString::fromStdString(Playing));
    }

    void drop_ofWhatAddCannotTakeIsRefusedBeforeTheDrop_data() {
        QTest::addColumn<QByteArray>("host"); // where a game of the tree is, if not here
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("a folder") << QByteArray() << QByteArray("picked");
        QTest::newRow("a folder named as a game")
            << QByteArray() << QByteArray("picked/Folder.swf");
        QTest::newRow("not a game file") << QByteArray() << QByteArray("picked/readme.txt");
        QTest::newRow("name taken in other case") << QByteArray() << QByteArray("picked/CHESS.swf");
        QTest::newRow("no such file") << QByteArray() << QByteArray("picked/gone.swf");
        QTest::newRow("on the web")
            << QByteArray("http://127.0.0.1:9") << QByteArray("picked/Pong.swf");
        QTest::newRow("on another machine")
            << QByteArray("file://elsewhere") << QByteArray("picked/Pong.swf");
        QTest::newRow("a name holding a NUL")
            << QByteArray() << QByteArray("picked/Pong.swf\0/Other.swf", 26);
    }
    void drop_ofWhatAddCannotTakeIsRefusedBeforeTheDrop() {
        QFETCH(QByteArray, host);
        QFETCH(QByteArray, file);
        tree_->folder("picked/Folder.swf");
        const Snapshot before = snapshot(tree_->root());
        QVERIFY(!drop({host.isEmpty()
                           ? address(file.toStdString())
                           : host + QByteArray::fromStdString(tree_->path(file.toStdString()))}));
        QCOMPARE(snapshot(tree_->root()), before);
        QCOMPARE(entries(), (QStringList{"chess", "lonely", "tennis", "tennis"}));
    }

    // A name from an old Windows archive, an extension in capitals, and a
    // link to a game elsewhere: each game is copied under its own name, the
    // link's target left as it was.
    void drop_copiesTheGameEachNameStandsFor() {
        tree_->file("picked/Pok\xe9mon.swf", "pokemon");
        tree_->file("picked/SNAKE.SWF", "snake");
        tree_->link("picked/Link.swf", tree_->path("outside.swf"));
        QVERIFY(drop({address("picked/Pok\xe9mon.swf"), address("picked/SNAKE.SWF"),
                      address("picked/Link.swf")}));
        QCOMPARE(snapshot(library("Action")).at("Pok\xe9mon.swf"), std::string("pokemon"));
        QCOMPARE(snapshot(library("Action")).at("SNAKE.SWF"), std::string("snake"));
        QCOMPARE(snapshot(library("Action")).at("Link.swf"),
                 std::string("not a game of the library"));
        struct stat copied;
        QCOMPARE(lstat(library("Action/Link.swf").c_str(), &copied), 0);
        QVERIFY(S_ISREG(copied.st_mode));
        QCOMPARE(snapshot(tree_->root()).at("outside.swf"),
                 std::string("not a game of the library"));
        QCOMPARE(entries().mid(4), (QStringList{QStringLiteral("Pok\u00e9mon"), "SNAKE", "Link"}));
    }

    // A thousand games dropped at once, one of which is gone by the time
    // of the drop: each of the others is added whole, and nothing of the
    // gone one is left behind.
    void drop_ofAThousandGamesAddsEachThatIsThere() {
        QList<QByteArray> addresses;
        for (int i = 0; i < 1000; ++i) {
            const std::string name = "picked/game" + std::to_string(i) + ".swf";
            tree_->file(name, std::to_string(i));
            addresses << address(name);
        }
        QVERIFY(drop(addresses, [&] { unlink(tree_->path("picked/game500.swf").c_str()); }));
        const Snapshot added = snapshot(library("Action"));
        QCOMPARE(added.size(), size_t(4 + 999));
        QVERIFY(!added.contains("game500.swf"));
        for (const int i : {0, 499, 501, 999})
            QCOMPARE(added.at("game" + std::to_string(i) + ".swf"), std::to_string(i));
        QCOMPARE(entries().size(), 4 + 999);
        QCOMPARE(entries().last(), QStringLiteral("game999"));
    }

    void delete_removesTheGameFileAndItsEntryAfterUnloading() {
        play();
        select("chess");
        form_->Edit1->setText("chess");
        form_->SpeedButton2Click(form_->SpeedButton2);
        QVERIFY(playerEmpty());
        QVERIFY(!snapshot(library("Action")).contains("chess.swf"));
        QCOMPARE(entries(), (QStringList{"lonely", "tennis", "tennis"}));
        QCOMPARE(form_->ListBox1->selectedRow(), -1);
        QCOMPARE(form_->Edit1->text(), QStringLiteral("chess"));
        // Found by its listed name; the picture of the same name stays.
        select("tennis");
        form_->SpeedButton2Click(form_->SpeedButton2);
        QCOMPARE(snapshot(library("Action")),
                 (Snapshot{{"lonely.jpg", "picture only"}, {"tennis.jpg", "picture"}}));
    }

    void delete_withoutAFileOrSelectionChangesNoFile() {
        const Snapshot before = snapshot(tree_->root());
        play();
        form_->SpeedButton2Click(form_->SpeedButton2);
        QVERIFY(!playerEmpty()); // nothing selected: nothing at all
        select("lonely");
        form_->SpeedButton2Click(form_->SpeedButton2);
        QVERIFY(playerEmpty()); // unloaded all the same
        QCOMPARE(entries(), (QStringList{"chess", "lonely", "tennis", "tennis"}));
        // An entry that leads out of the folder deletes nothing out there.
        play();
        form_->ListBox1->rename(0, "../../outside");
        select("../../outside");
        form_->SpeedButton2Click(form_->SpeedButton2);
        QVERIFY(playerEmpty());
        QCOMPARE(snapshot(tree_->root()), before);
    }

    void modify_renamesToTheTypedName() {
        play();
        select("chess");
        form_->Edit1->setText("Chess Master");
        form_->SpeedButton3Click(form_->SpeedButton3);
        QCOMPARE(snapshot(library("Action")).at("Chess Master.swf"), std::string("chess"));
        QVERIFY(!snapshot(library("Action")).contains("chess.swf"));
        QCOMPARE(entries().first(), QStringLiteral("Chess Master"));
        QCOMPARE(form_->ListBox1->selectedRow(), 0);
        QVERIFY(!playerEmpty()); // the player is not touched
        // A change of letter case alone is a rename.
        select("tennis");
        form_->Edit1->setText("Tennis");
        form_->SpeedButton3Click(form_->SpeedButton3);
        QCOMPARE(snapshot(library("Action")).at("Tennis.swf"), std::string("tennis"));
        QVERIFY(!snapshot(library("Action")).contains("Tennis.SWF"));
        QCOMPARE(form_->ListBox1->text(form_->ListBox1->selectedRow()), QStringLiteral("Tennis"));
    }

    void modify_toANameThatCannotBeChangesNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("unchanged") << "chess";
        QTest::newRow("taken in other case") << "TENNIS";
        QTest::newRow("up and out") << "../../outside";
    }
    void modify_toANameThatCannotBeChangesNothing() {
        QFETCH(QString, name);
        const Snapshot before = snapshot(tree_->root());
        select("chess");
        form_->Edit1->setText(name);
        form_->SpeedButton3Click(form_->SpeedButton3);
        QCOMPARE(snapshot(tree_->root()), before);
        QCOMPARE(entries(), (QStringList{"chess", "lonely", "tennis", "tennis"}));
    }

    void move_takesTheGameToTheChosenCategory() {
        play();
        select("tennis");
        QCOMPARE(move(4), QString());
        QVERIFY(playerEmpty());
        QCOMPARE(snapshot(library("Sport")).at("tennis.swf"), std::string("tennis"));
        QCOMPARE(snapshot(library("Action")), (Snapshot{{"chess.swf", "chess"},
                                                        {"lonely.jpg", "picture only"},
                                                        {"tennis.jpg", "picture"}}));
        QCOMPARE(entries(), (QStringList{"chess", "lonely", "tennis"}));
        QCOMPARE(form_->ListBox1->selectedRow(), -1);
        QCOMPARE(form_->Label2->text(), QStringLiteral("4"));
        // Every opening starts at "Action Games", whatever the window shows.
        form_->ComboBox1->setCurrentIndex(4);
        emit form_->ComboBox1->activated(4);
        select("golf");
        QCOMPARE(move(0), QString());
        QCOMPARE(snapshot(library("Action")).at("golf.swf"), std::string("golf"));
    }

    void move_thatFailsSaysSoAndChangesNothing_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("category");
        QTest::newRow("name taken there") << "chess" << 4;
        QTest::newRow("out of the folder") << "../../outside" << 4;
    }
    void move_thatFailsSaysSoAndChangesNothing() {
        QFETCH(QString, entry);
        QFETCH(int, category);
        if (entry.startsWith(QLatin1String("..")))
            form_->ListBox1->rename(0, entry.toStdString());
        const QStringList listed = entries();
        const Snapshot before = snapshot(tree_->root());
        play();
        select(entry);
        // The log says which file and why; the window only that it failed.
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^move .*/Action/") +
                                                QRegularExpression::escape(entry) +
                                                QStringLiteral("\\.swf to .*/Sport/.*: .+")));
        QCOMPARE(move(category), QStringLiteral("Move is uncompleted!"));
        QVERIFY(playerEmpty());
        QCOMPARE(snapshot(tree_->root()), before);
        QCOMPARE(entries(), listed);
    }

    void move_needsASelectionAndClosingMovesNothing() {
        play();
        form_->SpeedButton4Click(form_->SpeedButton4); // no dialog: returns at once
        select("chess");
        const Snapshot before = snapshot(tree_->root());
        ModalScript script({[](QWidget* modal) {
            auto* box = qobject_cast<TMoveBox*>(modal);
            QVERIFY(box);
            // Escape is no way out; the close button is.
            QTest::keyClick(box, Qt::Key_Escape);
            QVERIFY(box->isVisible());
            box->close();
        }});
        form_->SpeedButton4Click(form_->SpeedButton4);
        QCOMPARE(script.done(), size_t(1));
        QVERIFY(!playerEmpty());
        QCOMPARE(snapshot(tree_->root()), before);
        QCOMPARE(entries(), (QStringList{"chess", "lonely", "tennis", "tennis"}));
    }

    // A name from an old Windows archive (Latin-1, not UTF-8), and names in
    // both Unicode forms, each with its twin whose name reads alike but is
    // other bytes: each lists readably and every command reaches its file
    // and no other.
    void everyCommand_reachesTheNameAsStored_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QByteArray>("twin");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Latin-1") << QByteArray("Pok\xe9mon.swf") << QByteArray("pok\xc3\xa9mon.swf")
                                 << QStringLiteral("pok\u00e9mon");
        QTest::newRow("composed") << QByteArray("Caf\xc3\xa9.swf") << QByteArray("caf\xe9.swf")
                                  << QStringLiteral("caf\u00e9");
        QTest::newRow("decomposed")
            << QByteArray("Cafe\xcc\x81.swf") << QByteArray("caf\xc3\xa9.swf")
            << QStringLiteral("cafe\u0301");
    }
    void everyCommand_reachesTheNameAsStored() {
        QFETCH(QByteArray, stored);
        QFETCH(QByteArray, twin);
        QFETCH(QString, shown);
        const std::string name = stored.toStdString();
        const std::string listed = CaseFolding::lower(name); // the listing's bytes, with ".swf"
        const std::string renamed =
            FileNameText::bytes((shown + QStringLiteral(" 2.swf")).toStdU16String());
        tree_->file("library/Action/" + name, "the game");
        tree_->file("library/Action/" + twin.toStdString(), "its twin");
        const auto pick = [&] {
            form_->ComboBox1Change(form_->ComboBox1);
            for (int row = 0; row < form_->ListBox1->count(); ++row)
                if (form_->ListBox1->entry(row).name + ".swf" == listed)
                    form_->ListBox1->setCurrentIndex(form_->ListBox1->model()->index(row, 0));
        };
        const auto twinStays = [&] {
            QCOMPARE(snapshot(library("Action")).at(twin.toStdString()), std::string("its twin"));
        };

        // Listed readably; played, the player is given the file's own path.
        pick();
        QVERIFY(entries().contains(shown));
        form_->ListBox1Click(form_->ListBox1);
        QCOMPARE(FileNameText::bytes(form_->ShockwaveFlash1->movie().toStdU16String()),
                 library("Action/" + listed));
        QCOMPARE(form_->Edit1->text(), shown);

        // Modify with the name as shown changes nothing; with a new name the
        // file is renamed.
        const Snapshot before = snapshot(tree_->root());
        form_->SpeedButton3Click(form_->SpeedButton3);
        QCOMPARE(snapshot(tree_->root()), before);
        form_->Edit1->setText(shown + QStringLiteral(" 2"));
        form_->SpeedButton3Click(form_->SpeedButton3);
        QVERIFY(!snapshot(library("Action")).contains(name));
        QCOMPARE(snapshot(library("Action")).at(renamed), std::string("the game"));
        twinStays();

        // Back under its old bytes, then moved to Sport under its listed name.
        QCOMPARE(
            std::rename(library("Action/" + renamed).c_str(), library("Action/" + name).c_str()),
            0);
        pick();
        QCOMPARE(move(4), QString());
        QCOMPARE(snapshot(library("Sport")).at(listed), std::string("the game"));
        twinStays();

        // Deleted in its new category.
        form_->ComboBox1->setCurrentIndex(4);
        pick();
        form_->SpeedButton2Click(form_->SpeedButton2);
        QVERIFY(!snapshot(library("Sport")).contains(listed));
        twinStays();
    }

    // A start with a file: a game of a category plays there, at any depth,
    // as a click plays it; one from elsewhere is added where the user says,
    // never over a name the category has, or not at all.
    void open_playsAGameOfACategoryOrAddsOneWhereTheUserSays() {
        tree_->folder("library/Sport/Old Pack");
        tree_->file("library/Sport/Old Pack/Darts.swf", "darts");
        QCOMPARE(open(library("Sport/Old Pack/../Old Pack/Darts.swf")), QStringList());
        QCOMPARE(form_->ComboBox1->currentIndex(), 4);
        QCOMPARE(entries(), (QStringList{"chess", "golf", "darts"}));
        QCOMPARE(form_->ListBox1->selectedRow(), 2);
        QCOMPARE(playing(), library("Sport/Old Pack/darts.swf"));
        QCOMPARE(form_->Edit1->text(), QStringLiteral("darts"));

        const Snapshot before = snapshot(tree_->root());
        QString asked;
        QCOMPARE(open(tree_->path("picked/Pong.swf"), -1, &asked), QStringList());
        QCOMPARE(asked, QStringLiteral("\"Pong.swf\" is in none of the categories. Add it to :"));
        QCOMPARE(snapshot(tree_->root()), before);
        QCOMPARE(form_->ComboBox1->currentIndex(), 4);
        QCOMPARE(playing(), library("Sport/Old Pack/darts.swf"));

        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^add .*: TargetExists$")));
        QCOMPARE(open(tree_->path("picked/CHESS.swf"), 4),
                 QStringList{QStringLiteral(
                     "Sport Games already has a game named \"CHESS.swf\": nothing was added.")});
        QCOMPARE(snapshot(tree_->root()), before);

        form_->UnloadPlayer();
        QCOMPARE(open(tree_->path("picked/Pong.swf"), 0), QStringList());
        QCOMPARE(snapshot(library("Action")).at("Pong.swf"), std::string("pong"));
        QCOMPARE(form_->ComboBox1->currentIndex(), 0);
        QCOMPARE(entries(), (QStringList{"chess", "lonely", "tennis", "tennis", "Pong"}));
        QCOMPARE(form_->ListBox1->selectedRow(), 4);
        QCOMPARE(playing(), library("Action/Pong.swf"));
    }

    void open_ofWhatIsNoGameFileSaysSoOnceNamingIt_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("said");
        QTest::newRow("no such file, its name not UTF-8")
            << QByteArray("picked/Pok\xe9mon.swf")
            << QStringLiteral("Cannot open \"%1/picked/Pok\u00e9mon.swf\": there is no such file.");
        QTest::newRow("a folder") << QByteArray("picked")
                                  << QStringLiteral("Cannot open \"%1/picked\": it is not a file.");
        QTest::newRow("a text") << QByteArray("picked/readme.txt")
                                << QStringLiteral(
                                       "Cannot open \"%1/picked/readme.txt\": only Flash "
                                       "games, files whose name ends in .swf, can be "
                                       "opened.");
    }
    void open_ofWhatIsNoGameFileSaysSoOnceNamingIt() {
        QFETCH(QByteArray, file);
        QFETCH(QString, said);
        const Snapshot before = snapshot(tree_->root());
        QCOMPARE(open(tree_->path(file.toStdString())),
                 QStringList{said.arg(QString::fromStdString(tree_->root()))});
        QCOMPARE(snapshot(tree_->root()), before);
        QCOMPARE(form_->ComboBox1->currentIndex(), 0);
        QCOMPARE(entries(), (QStringList{"chess", "lonely", "tennis", "tennis"}));
        QCOMPARE(form_->ListBox1->selectedRow(), -1);
        QVERIFY(playerEmpty());
    }

    void moveDialog_hasItsLayout() {
        TMoveBox box(form_.get());
        QCOMPARE(box.windowTitle(), QStringLiteral("Move to..."));
        QCOMPARE(box.size(), QSize(291, 159));
        QCOMPARE(box.minimumSize(), box.maximumSize());
        QCOMPARE(box.Label1->text(), QStringLiteral("Move to :"));
        QCOMPARE(box.Label1->geometry(), QRect(77, 33, 45, 13));
        QCOMPARE(box.ComboBox1->geometry(), QRect(76, 54, 133, 21));
        QCOMPARE(box.OKButton->geometry(), QRect(103, 108, 75, 25));
        QCOMPARE(box.OKButton->text(), QStringLiteral("OK"));
        QVERIFY(box.OKButton->isDefault());
        QVERIFY(!box.ComboBox1->isEditable());
        QCOMPARE(box.ComboBox1->count(), int(CategoryTable::Captions.size()));
        for (int i = 0; i < box.ComboBox1->count(); ++i)
            QCOMPARE(box.ComboBox1->itemText(i).toStdString(), CategoryTable::Captions[size_t(i)]);
        QCOMPARE(box.OKButton->nextInFocusChain(), box.ComboBox1);
    }
};

PELLIWICK_TEST_MAIN(CommandHandlersTest)
#include "CommandHandlersTest.moc"
