#include "share/TAboutBox.h"

#include "app/Application.h"
#include "app/ModalDialog.h"
#include "app/TMainForm.h"
#include "players/TShockwaveFlash.h"
#include "share/Addresses.h"
#include "support/StandInCommand.h"
#include "support/TestMain.h"
#include "support/TreeBuilder.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

// Calls step on the About box once it runs modally, unless it never does;
// step must end it.
void whenOpen(const std::function<void(TAboutBox*)>& step) {
    auto* timer = new QTimer(qApp);
    QElapsedTimer clock;
    clock.start();
    QObject::connect(timer, &QTimer::timeout, [timer, clock, step] {
        auto* box = qobject_cast<TAboutBox*>(QApplication::activeModalWidget());
        if (box || clock.elapsed() > HangMs) {
            timer->stop();
            timer->deleteLater();
        }
        if (box)
            step(box);
    });
    timer->start(10);
}

} // namespace

class TAboutBoxTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir folder_;
    StandInCommand opener_{folder_.path(), QStringLiteral("xdg-open")};

private slots:
    void initTestCase() { qputenv("PATH", (folder_.path() + ':').toLocal8Bit() + qgetenv("PATH")); }

    // Each row is named after its control.
    void layout_placesEveryControlAndCaption_data() {
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("caption");
        const QString none;
        const QString panel = QStringLiteral("Panel1");
        QTest::newRow("OKButton") << "TAboutBox" << QRect(113, 204, 75, 25) << "OK";
        QTest::newRow("Panel1") << "TAboutBox" << QRect(0, 0, 310, 185) << none;
        QTest::newRow("ProgramIcon") << panel << QRect(2, 2, 306, 63) << "";
        QTest::newRow("ProductName") << panel << QRect(49, 77, 85, 13) << "Pelliwick";
        QTest::newRow("Version") << panel << QRect(49, 96, 59, 13)
                                 << "Version : " PELLIWICK_VERSION;
        QTest::newRow("Copyright")
            << panel << QRect(49, 114, 131, 13) << "Copyright © 2026 Pelliwick";
        QTest::newRow("Label7") << panel << QRect(49, 133, 153, 13)
                                << QString::fromUtf8(Addresses::WebSite);
        QTest::newRow("Label9") << panel << QRect(49, 151, 175, 13)
                                << "Email : " + QString::fromUtf8(Addresses::Support);
        QTest::newRow("Comments") << panel << QRect(22, 171, 251, 22) << none;
    }
    void layout_placesEveryControlAndCaption() {
        QFETCH(QString, parent);
        QFETCH(QRect, geometry);
        QFETCH(QString, caption);
        TAboutBox box;
        auto* control = box.findChild<QWidget*>(QTest::currentDataTag());
        QVERIFY(control);
        QCOMPARE(control->parentWidget()->objectName(), parent);
        QCOMPARE(control->pos(), geometry.topLeft());
        QCOMPARE(control->height(), geometry.height());
        if (caption.isNull()) {
            QCOMPARE(control->width(), geometry.width());
            return;
        }
        const auto* label = qobject_cast<QLabel*>(control);
        const auto* button = qobject_cast<QAbstractButton*>(control);
        QCOMPARE(label ? label->text() : button->text(), caption);
        // A caption may widen its control, never be cut off by it.
        QVERIFY(control->width() >= geometry.width());
        QVERIFY2(control->fontMetrics().boundingRect(caption).right() < control->width(),
                 qPrintable(QString::number(control->width())));
    }

    void box_isAFixedBoxCentredOnTheScreen() {
        QWidget owner;
        owner.setGeometry(10, 10, 100, 100);
        owner.show();
        TAboutBox box(&owner);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box, HangMs));
        QCOMPARE(box.windowTitle(), QStringLiteral("About"));
        QCOMPARE(box.size(), QSize(310, 246));
        QCOMPARE(box.minimumSize(), box.size());
        QCOMPARE(box.maximumSize(), box.size());
        QVERIFY(box.windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(
            !(box.windowFlags() & (Qt::WindowMinMaxButtonsHint | Qt::WindowContextHelpButtonHint)));
        // Placed before its frame is known: the box's own area, put where the
        // frame's corner goes, is centred.
        QCOMPARE(box.pos() + box.rect().center(), box.screen()->geometry().center());
        QCOMPARE(box.Version->font().pixelSize(), 11);
        QCOMPARE(box.ProgramIcon->pixmap().size(), QSize(223, 63));
        QVERIFY(box.ProgramIcon->hasScaledContents());
        QVERIFY(box.Comments->wordWrap());
        QVERIFY(!box.Comments->isVisible());
    }

    void okButton_isDefaultFirstInTheTabOrderAndAccepts() {
        TAboutBox box;
        QVERIFY(box.OKButton->isDefault());
        QWidget* first = box.nextInFocusChain();
        while (first != &box && !(first->focusPolicy() & Qt::TabFocus))
            first = first->nextInFocusChain();
        QCOMPARE(first, box.OKButton);
        whenOpen([](TAboutBox* open) { QTest::mouseClick(open->OKButton, Qt::LeftButton); });
        QCOMPARE(box.exec(), int(QDialog::Accepted));
    }

    void escape_leavesTheBoxOpenAndTheCloseButtonEndsIt() {
        QWidget owner;
        bool openAfterEscape = false;
        whenOpen([&](TAboutBox* box) {
            QTest::keyClick(box->OKButton, Qt::Key_Escape);
            openAfterEscape = box->isVisible();
            box->close();
        });
        OpenModalDialog(AboutBox, &owner);
        QVERIFY(openAfterEscape);
    }

    void openModalDialog_buildsAFreshBoxAtEachOpening() {
        QWidget owner;
        QPointer<TAboutBox> first;
        QString versionAtSecond;
        bool globalIsSecond = false;
        whenOpen([&](TAboutBox* box) {
            first = box;
            box->Version->setText("changed");
            box->close();
        });
        OpenModalDialog(AboutBox, &owner);
        QVERIFY(first.isNull());
        whenOpen([&](TAboutBox* box) {
            versionAtSecond = box->Version->text();
            globalIsSecond = AboutBox == box;
            box->close();
        });
        OpenModalDialog(AboutBox, &owner);
        QCOMPARE(versionAtSecond, QStringLiteral("Version : " PELLIWICK_VERSION));
        QVERIFY(globalIsSecond);
    }

    void aboutButton_opensTheBoxOverTheMainWindow() {
        TreeBuilder library;
        TMainForm form(library.path("pelliwick"));
        QWidget* owner = nullptr;
        whenOpen([&](TAboutBox* box) {
            owner = box->parentWidget();
            box->close();
        });
        form.SpeedButton6->click();
        QCOMPARE(owner, &form);
    }

    void link_opensItsAddressAndTheBoxStaysOpen_data() {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("address");
        QTest::newRow("home page") << "Label7" << QString::fromUtf8(Addresses::HomePage);
        QTest::newRow("support") << "Label9"
                                 << "mailto:" + QString::fromUtf8(Addresses::Support);
    }
    void link_opensItsAddressAndTheBoxStaysOpen() {
        QFETCH(QString, link);
        QFETCH(QString, address);
        TAboutBox box;
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box, HangMs));
        auto* label = box.findChild<QLabel*>(link);
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::blue));
        QVERIFY(!label->font().underline());
        QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
        opener_.install();
        QTest::mouseClick(label, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(opener_.record(), (address + '\n').toUtf8(), HangMs);
        QVERIFY(box.isVisible());
    }
};

PELLIWICK_TEST_MAIN(TAboutBoxTest)
#include "TAboutBoxTest.moc"
