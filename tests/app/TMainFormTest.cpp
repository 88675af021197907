#include "app/TMainForm.h"

#include "app/Application.h"
#include "players/FullScreenWindow.h"
#include "players/TShockwaveFlash.h"
#include "support/ShowActive.h"
#include "support/TestMain.h"
#include "support/TreeBuilder.h"

#include <QMouseEvent>
#include <QScreen>
#include <QTest>

namespace {

QRect rectOf(const QWidget* widget) {
    return widget->geometry();
}

// Press, move and release on the splitter, as a drag by dx pixels; the
// panel's width before the release is returned.
int dragSplitter(QWidget* splitter, int dx) {
    const QPointF grab(1, 100);
    const QPointF to = grab + QPointF(dx, 0);
    const auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButton button,
                          Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, splitter->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(splitter, &event);
    };
    send(QEvent::MouseButtonPress, grab, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    const int widthWhileDragging = MainForm->Panel1->width();
    send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    return widthWhileDragging;
}

// The player and the web page pane hand their focus and their surface to a
// child of their own.
bool within(const QWidget* control, const QWidget* widget) {
    return widget && (widget == control || control->isAncestorOf(widget));
}

// Counts the paints of one widget.
class PaintWatch : public QObject {
public:
    PaintWatch(QWidget* widget, int& paints) : paints_(paints) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        paints_ += event->type() == QEvent::Paint;
        return false;
    }

private:
    int& paints_;
};

} // namespace

class TMainFormTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TreeBuilder> library_;
    std::unique_ptr<TMainForm> form_;

    void settle() {
        // Let the layout and the queued paint run.
        QTest::qWait(0);
        QCoreApplication::processEvents();
    }

    // The main window's children lie in their creation order, the player
    // over the web page pane and under the toolbar, and fills the area.
    void checkStacking() {
        const QObjectList children = form_->children();
        const auto place = [&](QObject* o) {
            return children.indexOf(o);
        };
        QVERIFY(place(form_->Splitter1) < place(form_->CppWebBrowser));
        QVERIFY(place(form_->CppWebBrowser) < place(form_->Panel1));
        QVERIFY(place(form_->Panel1) < place(form_->ShockwaveFlash1));
        QVERIFY(place(form_->ShockwaveFlash1) < place(form_->Panel4));
        for (const QPoint at : {QPoint(160, 40), QPoint(570, 355), QPoint(364, 200)})
            QVERIFY(within(form_->ShockwaveFlash1, form_->childAt(at)));
    }

private slots:
    void init() {
        library_ = std::make_unique<TreeBuilder>();
        library_->folder("Action");
        library_->file("Action/b.swf");
        library_->file("Action/A.swf");
        library_->folder("Sport");
        library_->file("Sport/Tennis.SWF");
        form_ = std::make_unique<TMainForm>(library_->path("pelliwick"));
    }
    void cleanup() {
        form_.reset();
        library_.reset();
    }

    void construction_setsMainFormAndStartsEmpty() {
        QCOMPARE(MainForm, form_.get());
        QCOMPARE(form_->ListBox1->count(), 0);
        QCOMPARE(form_->Edit1->text(), QString());
        QCOMPARE(form_->Label2->text(), QString());
        QCOMPARE(form_->currentCategoryFolder(), std::string());
        QCOMPARE(form_->ComboBox1->currentText(), QStringLiteral("Action Games"));
        QCOMPARE(form_->ComboBox1->count(), 7);
        QCOMPARE(form_->ComboBox1->itemText(6), QStringLiteral("Other Games"));
        QCOMPARE(form_->ComboBox1->maxVisibleItems(), 8);
    }

    void window_opensAtDesignPositionAndSize() {
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get(), HangMs));
        QCOMPARE(form_->windowTitle(), QStringLiteral("Pelliwick " PELLIWICK_VERSION));
        QCOMPARE(form_->pos(), QPoint(175, 157));
        QCOMPARE(form_->size(), QSize(572, 357));
    }

    void window_staysTheSameWindowWhenThePlayerStarts() {
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get(), HangMs));
        const WId window = form_->winId();
        QTRY_VERIFY_WITH_TIMEOUT(form_->ShockwaveFlash1->isReady(), 30000);
        QCOMPARE(form_->winId(), window);
    }

    void layout_placesEveryControl_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("rect");
        QTest::newRow("Panel4") << "Panel4" << QRect(0, 0, 572, 34);
        QTest::newRow("Panel1") << "Panel1" << QRect(0, 34, 153, 323);
        QTest::newRow("Splitter1") << "Splitter1" << QRect(153, 34, 3, 323);
        QTest::newRow("CppWebBrowser") << "CppWebBrowser" << QRect(156, 34, 416, 323);
        QTest::newRow("ShockwaveFlash1") << "ShockwaveFlash1" << QRect(156, 34, 416, 323);
        QTest::newRow("Panel3") << "Panel3" << QRect(1, 1, 151, 80);
        QTest::newRow("ListBox1") << "ListBox1" << QRect(1, 81, 151, 173);
        QTest::newRow("Panel2") << "Panel2" << QRect(1, 254, 151, 68);
        QTest::newRow("SpeedButton3") << "SpeedButton3" << QRect(120, 23, 23, 22);
        QTest::newRow("Edit1") << "Edit1" << QRect(4, 23, 109, 21);
        QTest::newRow("SpeedButton1") << "SpeedButton1" << QRect(8, 10, 23, 22);
        QTest::newRow("SpeedButton2") << "SpeedButton2" << QRect(40, 10, 23, 22);
        QTest::newRow("SpeedButton4") << "SpeedButton4" << QRect(70, 11, 23, 22);
        QTest::newRow("ComboBox1") << "ComboBox1" << QRect(4, 46, 109, 21);
        QTest::newRow("SpeedButton5") << "SpeedButton5" << QRect(3, 1, 32, 32);
        QTest::newRow("SpeedButton6") << "SpeedButton6" << QRect(79, 1, 32, 32);
        QTest::newRow("Memo2") << "Memo2" << QRect(472, 8, 17, 17);
    }
    void layout_placesEveryControl() {
        QFETCH(QString, name);
        QFETCH(QRect, rect);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get(), HangMs));
        auto* widget = form_->findChild<QWidget*>(name);
        QVERIFY(widget);
        QCOMPARE(rectOf(widget), rect);
    }

    void controls_haveTheirKindHintsAndFonts() {
        const std::vector<std::pair<QToolButton*, QString>> buttons = {
            {form_->SpeedButton1, "Add"},           {form_->SpeedButton2, "Delete"},
            {form_->SpeedButton3, "Modify"},        {form_->SpeedButton4, "Move to ..."},
            {form_->SpeedButton5, "Tell a friend"}, {form_->SpeedButton6, "&About"}};
        for (const auto& [button, hint] : buttons) {
            QCOMPARE(button->toolTip(), hint);
            QVERIFY(button->autoRaise());
            QCOMPARE(button->focusPolicy(), Qt::NoFocus);
            QVERIFY(button->text().isEmpty());
        }
        QCOMPARE(form_->SpeedButton4->iconSize(), QSize(24, 24));
        QCOMPARE(form_->SpeedButton5->iconSize(), QSize(32, 32));
        QCOMPARE(form_->font().pixelSize(), 11);
        QCOMPARE(form_->ListBox1->font().pixelSize(), 13);
        QCOMPARE(form_->Edit1->font().pixelSize(), 11);
        QCOMPARE(form_->Label1->text(), QStringLiteral("Game Type :"));
        QCOMPARE(form_->Label3->text(), QStringLiteral("Game Name :"));
        QVERIFY(!form_->ComboBox1->isEditable());
        QCOMPARE(form_->ListBox1->selectionMode(), QAbstractItemView::SingleSelection);
        QVERIFY(form_->Memo2->isHidden());
        QCOMPARE(form_->Memo2->lineWrapMode(), QPlainTextEdit::NoWrap);
    }

    void glyphs_showOnlyTheSymbol_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("size");
        for (const char* name : {"SpeedButton1", "SpeedButton2", "SpeedButton3"})
            QTest::newRow(name) << name << 16;
        QTest::newRow("SpeedButton4") << "SpeedButton4" << 24;
        QTest::newRow("SpeedButton5") << "SpeedButton5" << 32;
        QTest::newRow("SpeedButton6") << "SpeedButton6" << 32;
    }
    void glyphs_showOnlyTheSymbol() {
        QFETCH(QString, name);
        QFETCH(int, size);
        const auto* button = form_->findChild<QToolButton*>(name);
        const QImage image = button->icon().pixmap(size).toImage();
        QCOMPARE(image.size(), QSize(size, size));
        int opaque = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.alpha() == 0)
                    continue;
                ++opaque;
                QVERIFY(!(c.red() > 200 && c.green() < 60 && c.blue() > 200)); // no magenta
            }
        QCOMPARE(image.pixelColor(0, size - 1).alpha(), 0);
        QVERIFY(opaque > size);
        QVERIFY(opaque < size * size);
    }

    void list_entriesAreSixteenPixelsHigh() {
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get(), HangMs));
        const QRect first = form_->ListBox1->visualRect(form_->ListBox1->model()->index(0, 0));
        const QRect second = form_->ListBox1->visualRect(form_->ListBox1->model()->index(1, 0));
        QCOMPARE(first.height(), 16);
        QCOMPARE(second.top() - first.top(), 16);
    }

    void stacking_playerLiesOverTheWebPane() {
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get(), HangMs));
        checkStacking();
    }

    void fullScreen_putsThePlayerBackInItsPlace() {
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get(), HangMs));
        const QRect before = rectOf(form_->ShockwaveFlash1);
        FullScreenWindow fullScreen(form_->ShockwaveFlash1);
        fullScreen.enter();
        QCOMPARE(form_->ShockwaveFlash1->window(), &fullScreen);
        QCOMPARE(fullScreen.geometry(), form_->screen()->geometry());
        fullScreen.leave();
        settle();
        QVERIFY(!fullScreen.isVisible());
        QCOMPARE(form_->ShockwaveFlash1->window(), form_.get());
        QCOMPARE(rectOf(form_->ShockwaveFlash1), before);
        checkStacking();
    }

    void resize_growsOnlyTheListAndThePlayerArea() {
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get(), HangMs));
        form_->resize(800, 500);
        settle();
        QCOMPARE(rectOf(form_->Panel4), QRect(0, 0, 800, 34));
        QCOMPARE(rectOf(form_->Panel1), QRect(0, 34, 153, 466));
        QCOMPARE(rectOf(form_->Panel3), QRect(1, 1, 151, 80));
        QCOMPARE(rectOf(form_->ListBox1), QRect(1, 81, 151, 316));
        QCOMPARE(rectOf(form_->Panel2), QRect(1, 397, 151, 68));
        QCOMPARE(rectOf(form_->ShockwaveFlash1), QRect(156, 34, 644, 466));
        QCOMPARE(rectOf(form_->CppWebBrowser), rectOf(form_->ShockwaveFlash1));
        QCOMPARE(rectOf(form_->Edit1), QRect(4, 23, 109, 21));
        form_->resize(300, 200);
        settle();
        QCOMPARE(rectOf(form_->Panel1).width(), 153);
        QCOMPARE(rectOf(form_->ShockwaveFlash1), QRect(156, 34, 144, 166));
    }

    void tab_goesListNameCategoryPlayerWebPane() {
        QVERIFY(showActive(form_.get()));
        form_->ListBox1->setFocus();
        const std::vector<QWidget*> expected = {form_->Edit1, form_->ComboBox1,
                                                form_->ShockwaveFlash1, form_->CppWebBrowser,
                                                form_->ListBox1};
        for (QWidget* next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTRY_VERIFY_WITH_TIMEOUT(within(next, QApplication::focusWidget()), HangMs);
        }
    }

    void splitter_appliesTheNewWidthOnRelease() {
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get(), HangMs));
        QCOMPARE(dragSplitter(form_->Splitter1, 50), 153);
        settle();
        QCOMPARE(form_->Panel1->width(), 203);
        QCOMPARE(rectOf(form_->Splitter1), QRect(203, 34, 3, 323));
        QCOMPARE(rectOf(form_->ShockwaveFlash1), QRect(206, 34, 366, 323));
    }

    void splitter_snapsShutAtThirtyAndKeepsThirtyForThePlayer_data() {
        QTest::addColumn<int>("dx");
        QTest::addColumn<int>("width");
        QTest::newRow("to 31") << -122 << 31;
        QTest::newRow("to 30 snaps") << -123 << 0;
        QTest::newRow("far left") << -500 << 0;
        QTest::newRow("player keeps 30") << 500 << 572 - 3 - 30;
        QTest::newRow("player 30 exactly") << 386 << 539;
    }
    void splitter_snapsShutAtThirtyAndKeepsThirtyForThePlayer() {
        QFETCH(int, dx);
        QFETCH(int, width);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get(), HangMs));
        dragSplitter(form_->Splitter1, dx);
        settle();
        QCOMPARE(form_->Panel1->width(), width);
        QCOMPARE(form_->Splitter1->x(), width);
        QCOMPARE(form_->ShockwaveFlash1->x(), width + 3);
    }

    void splitter_opensAgainFromTheLeftEdge() {
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get(), HangMs));
        dragSplitter(form_->Splitter1, -200);
        settle();
        QCOMPARE(form_->Splitter1->x(), 0);
        dragSplitter(form_->Splitter1, 120);
        settle();
        QCOMPARE(form_->Panel1->width(), 120);
    }

    void paint_leavesFocusOnThePlayer() {
        QVERIFY(showActive(form_.get()));
        QTRY_VERIFY_WITH_TIMEOUT(within(form_->ShockwaveFlash1, QApplication::focusWidget()),
                                 HangMs);
        form_->Edit1->setFocus();
        QCOMPARE(QApplication::focusWidget(), form_->Edit1);
        form_->update();
        QTRY_VERIFY_WITH_TIMEOUT(within(form_->ShockwaveFlash1, QApplication::focusWidget()),
                                 HangMs);
        // Moving the splitter repaints its strip, and so does the same.
        form_->ListBox1->setFocus();
        dragSplitter(form_->Splitter1, 20);
        QTRY_VERIFY_WITH_TIMEOUT(within(form_->ShockwaveFlash1, QApplication::focusWidget()),
                                 HangMs);
        // Painting a control alone is not a paint of the window.
        form_->Edit1->setFocus();
        int listPaints = 0;
        PaintWatch watch(form_->ListBox1->viewport(), listPaints);
        form_->Edit1->update();
        form_->ListBox1->viewport()->update();
        QTRY_VERIFY_WITH_TIMEOUT(listPaints > 0, HangMs);
        QCOMPARE(QApplication::focusWidget(), form_->Edit1);
    }

    void showing_listsTheFirstCategory() {
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get(), HangMs));
        QCOMPARE(form_->ListBox1->texts(), (QStringList{"a", "b"}));
        QCOMPARE(form_->Label2->text(), QStringLiteral("2"));
        QCOMPARE(form_->currentCategoryFolder(), library_->path("Action"));
    }

    void categoryChange_refillsListAndCountAfresh() {
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get(), HangMs));
        const auto pick = [&](int index) {
            form_->ComboBox1->setCurrentIndex(index);
            emit form_->ComboBox1->activated(index);
        };
        pick(4);
        QCOMPARE(form_->ListBox1->texts(), QStringList{"tennis"});
        QCOMPARE(form_->Label2->text(), QStringLiteral("1"));
        QCOMPARE(form_->currentCategoryFolder(), library_->path("Sport"));
        pick(5);
        QCOMPARE(form_->ListBox1->count(), 0);
        QCOMPARE(form_->Label2->text(), QStringLiteral("0"));
        QCOMPARE(form_->currentCategoryFolder(), library_->path("Board"));
        pick(0);
        pick(0);
        QCOMPARE(form_->ListBox1->texts(), (QStringList{"a", "b"}));
        QCOMPARE(form_->Label2->text(), QStringLiteral("2"));
        QCOMPARE(form_->currentCategoryFolder(), library_->path("Action"));
    }

    void categoryChange_byKeyboardLists() {
        QVERIFY(showActive(form_.get()));
        form_->ComboBox1->setFocus();
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(form_->ComboBox1, Qt::Key_Down);
        QCOMPARE(form_->ComboBox1->currentIndex(), 4);
        QCOMPARE(form_->ListBox1->texts(), QStringList{"tennis"});
    }

    void countLabel_sizesItselfToItsText() {
        for (int i = 0; i < 120; ++i)
            library_->file("Action/game" + std::to_string(i) + ".swf");
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get(), HangMs));
        QCOMPARE(form_->Label2->text(), QStringLiteral("122"));
        QCOMPARE(form_->Label2->width(), form_->Label2->sizeHint().width());
        QVERIFY(form_->Label2->width() > 10);
    }
};

PELLIWICK_TEST_MAIN(TMainFormTest)
#include "TMainFormTest.moc"
