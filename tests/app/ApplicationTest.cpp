#include "app/Application.h"

#include "app/ModalDialog.h"
#include "library/Exception.h"
#include "players/TShockwaveFlash.h"
#include "support/ModalAnswerer.h"
#include "support/TestMain.h"

#include <QDialog>
#include <QTest>
#include <QWidget>

namespace {

// A dialog that counts how many of it exist.
class ProbeDialog : public QDialog {
public:
    explicit ProbeDialog(QWidget* owner) : QDialog(owner) { ++alive; }
    ~ProbeDialog() override { --alive; }
    static inline int alive = 0;
};

} // namespace

class ApplicationTest : public QObject {
    Q_OBJECT
private slots:
    void title_isFileNameBeforeFirstDotWithTheRestLowerCased_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("title");
        QTest::newRow("plain") << "/opt/games/pelliwick"
                               << "pelliwick";
        QTest::newRow("dots") << "/x/player.beta.exe"
                              << "player";
        QTest::newRow("capitals") << "/x/PELLI.Wick"
                                  << "Pelli";
        QTest::newRow("first kept") << "/x/pELLIWICK"
                                    << "pelliwick";
        QTest::newRow("unicode") << "/x/ÄRGER"
                                 << "Ärger";
        QTest::newRow("dot first") << "/x/.hidden"
                                   << "";
    }
    void title_isFileNameBeforeFirstDotWithTheRestLowerCased() {
        QFETCH(QString, path);
        QFETCH(QString, title);
        QCOMPARE(Application::titleFromExecutable(path.toStdString()), title);
    }

    void title_comesFromTheRunningProgram() {
        QCOMPARE(qobject_cast<Application*>(qApp)->title(), QStringLiteral("Applicationtest"));
    }

    void reportText_addsFullStopAfterCharactersAboveIt_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("letter") << "Disk full"
                                << "Disk full.";
        QTest::newRow("digit") << "Error 5"
                               << "Error 5.";
        QTest::newRow("question") << "Why?"
                                  << "Why?.";
        QTest::newRow("colon") << "Reason:"
                               << "Reason:.";
        QTest::newRow("stop") << "Done."
                              << "Done.";
        QTest::newRow("bang") << "Move is uncompleted!"
                              << "Move is uncompleted!";
        QTest::newRow("paren") << "(none)"
                               << "(none)";
        QTest::newRow("utf8") << "Fehler: Größe"
                              << "Fehler: Größe.";
    }
    void reportText_addsFullStopAfterCharactersAboveIt() {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(Application::reportText(message.toStdString()), shown);
    }

    void icon_hasEveryImageSize() {
        const QList<QSize> sizes = QApplication::windowIcon().availableSizes();
        for (const QSize size : {QSize(16, 16), QSize(32, 32), QSize(48, 48)})
            QVERIFY2(sizes.contains(size), qPrintable(QString::number(size.width())));
    }

    void modalDialog_isBuiltAfreshOwnedAndGoneAfterEachOpening() {
        QWidget owner;
        ProbeDialog* instance = nullptr;
        std::vector<ProbeDialog*> seen;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                seen.push_back(static_cast<ProbeDialog*>(dialog));
                QCOMPARE(dialog->parentWidget(), &owner);
                QCOMPARE(ProbeDialog::alive, 1);
                dialog->reject();
            }
        });
        closer.start(10);
        OpenModalDialog(instance, &owner);
        QCOMPARE(ProbeDialog::alive, 0);
        QCOMPARE(seen.size(), size_t(1));
        QCOMPARE(instance, seen[0]);
        OpenModalDialog(instance, &owner);
        QCOMPARE(ProbeDialog::alive, 0);
        QCOMPARE(seen.size(), size_t(2));
        QCOMPARE(instance, seen[1]);
        QVERIFY(owner.children().isEmpty());
    }

    void run_failedStartShowsOneErrorBoxAndNoWindow_data() {
        QTest::addColumn<bool>("ownException");
        QTest::addColumn<QString>("text");
        QTest::newRow("Exception") << true << "The Flash player is not installed.";
        QTest::newRow("anything else") << false << "";
    }
    void run_failedStartShowsOneErrorBoxAndNoWindow() {
        QFETCH(bool, ownException);
        QFETCH(QString, text);
        auto* app = qobject_cast<Application*>(qApp);
        // What the box says goes to the program's error output too.
        QTest::ignoreMessage(QtWarningMsg, qPrintable(app->title() + QStringLiteral(": ") + text));
        ModalAnswerer answerer;
        bool windowShown = false;
        const int code = app->run([&]() -> QWidget* {
            if (ownException)
                throw Exception("The Flash player is not installed");
            throw 42;
        });
        for (QWidget* w : QApplication::topLevelWidgets())
            windowShown |= w->isVisible();
        QCOMPARE(code, 0);
        QVERIFY(!windowShown);
        QCOMPARE(answerer.seen().size(), size_t(1));
        QCOMPARE(answerer.seen()[0].title, app->title());
        QCOMPARE(answerer.seen()[0].text, text);
        QCOMPARE(answerer.seen()[0].icon, QMessageBox::Critical);
    }

    void run_handlerFailureIsReportedAndTheProgramGoesOn() {
        auto* app = qobject_cast<Application*>(qApp);
        QTest::ignoreMessage(QtWarningMsg, qPrintable(app->title() + ": Cannot play the game."));
        ModalAnswerer answerer;
        bool laterEventRan = false;
        bool partDone = false;
        const int code = app->run([&] {
            auto* window = new QWidget;
            QTimer::singleShot(0, window, [&] {
                partDone = true;
                throw Exception("Cannot play the game");
            });
            QTimer::singleShot(50, window, [&, window] {
                laterEventRan = true;
                window->close();
            });
            return window;
        });
        QCOMPARE(code, 0);
        QVERIFY(partDone);
        QVERIFY(laterEventRan);
        QCOMPARE(answerer.seen().size(), size_t(1));
        QCOMPARE(answerer.seen()[0].text, QStringLiteral("Cannot play the game."));
        QCOMPARE(answerer.seen()[0].title, app->title());
    }

    void run_closingTheMainWindowEndsWithZeroAndDestroysIt() {
        auto* app = qobject_cast<Application*>(qApp);
        QPointer<QWidget> window;
        const int code = app->run([&] {
            window = new QWidget;
            QTimer::singleShot(0, window, [&] { window->close(); });
            return window.data();
        });
        QCOMPARE(code, 0);
        QVERIFY(window.isNull());
    }
};

PELLIWICK_TEST_MAIN(ApplicationTest)
#include "ApplicationTest.moc"
