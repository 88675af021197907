// The web page pane's handlers in each state its page can be in. The program
// never navigates the pane; the test does, to bring each state about.
#include "app/Application.h"
#include "app/TMainForm.h"
#include "library/Exception.h"
#include "players/TShockwaveFlash.h"
#include "support/ShowActive.h"
#include "support/TestMain.h"
#include "support/TreeBuilder.h"

#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>

namespace {

// "stall" requests are never answered, so their page stays loading; all
// others fail.
class TestScheme : public QWebEngineUrlSchemeHandler {
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    void requestStarted(QWebEngineUrlRequestJob* job) override {
        if (job->requestUrl().host() != QLatin1String("stall"))
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
    }
};

bool within(const QWidget* control, const QWidget* widget) {
    return widget && (widget == control || control->isAncestorOf(widget));
}

} // namespace

class WebPagePaneTest : public QObject {
    Q_OBJECT
public:
    // The test's own scheme, known to the engine before it starts.
    static void beforeApplication() {
        QWebEngineUrlScheme scheme("pelliwick-test");
        scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
        QWebEngineUrlScheme::registerScheme(scheme);
    }

private:
    TestScheme scheme_;
    std::unique_ptr<TreeBuilder> library_;
    std::unique_ptr<TMainForm> form_;

    TCppWebBrowser* pane() const { return form_->CppWebBrowser; }

    // Navigates the pane and waits for the outcome.
    bool navigate(const QUrl& url) {
        QSignalSpy finished(pane(), &QWebEngineView::loadFinished);
        pane()->load(url);
        return finished.wait(20000);
    }

private slots:
    void initTestCase() {
        QWebEngineProfile::defaultProfile()->installUrlSchemeHandler("pelliwick-test", &scheme_);
    }
    void init() {
        library_ = std::make_unique<TreeBuilder>();
        form_ = std::make_unique<TMainForm>(library_->path("pelliwick"));
        QVERIFY(showActive(form_.get()));
    }
    void cleanup() {
        form_.reset();
        library_.reset();
    }

    void neverNavigated_handlersDoNothingAndNoPageIsMade() {
        QCOMPARE(pane()->ReadyState(), int(TCppWebBrowser::Uninitialized));
        QCOMPARE(pane()->Document(), nullptr);
        QCOMPARE(form_->GetPageWindow(), nullptr);
        QSignalSpy entered(pane(), &TCppWebBrowser::Enter);
        form_->Edit1->setFocus();
        pane()->setFocus();
        QCOMPARE(entered.count(), 1);
        QVERIFY(within(pane(), QApplication::focusWidget()));
        // The pane starts no web engine of its own.
        QCOMPARE(pane()->findChild<QWebEnginePage*>(), nullptr);
    }

    void complete_withDocument_focusGoesIntoThePage() {
        QVERIFY(navigate(QUrl(QStringLiteral("data:text/html,<title>page</title>"))));
        QCOMPARE(pane()->ReadyState(), int(TCppWebBrowser::Complete));
        QVERIFY(pane()->Document());
        QCOMPARE(form_->GetPageWindow(), pane()->page());

        // On focus entering the pane.
        form_->Edit1->setFocus();
        form_->CppWebBrowserEnter(pane());
        QVERIFY(within(pane(), QApplication::focusWidget()));

        // On a completed navigation, wherever the focus was.
        form_->Edit1->setFocus();
        QVERIFY(navigate(QUrl(QStringLiteral("data:text/html,<title>second</title>"))));
        QTRY_VERIFY_WITH_TIMEOUT(within(pane(), QApplication::focusWidget()), HangMs);
    }

    void complete_withoutDocument_nothingIsFocused() {
        QVERIFY(navigate(QUrl(QStringLiteral("pelliwick-test://fail/"))));
        QCOMPARE(pane()->ReadyState(), int(TCppWebBrowser::Complete));
        QCOMPARE(pane()->Document(), nullptr);
        QCOMPARE(form_->GetPageWindow(), nullptr);
        form_->Edit1->setFocus();
        form_->CppWebBrowserNavigateComplete2(pane());
        QCOMPARE(QApplication::focusWidget(), form_->Edit1);
    }

    void loading_nothingIsFocusedEvenWithAnEarlierDocument() {
        QVERIFY(navigate(QUrl(QStringLiteral("data:text/html,<title>page</title>"))));
        QSignalSpy started(pane(), &QWebEngineView::loadStarted);
        pane()->load(QUrl(QStringLiteral("pelliwick-test://stall/")));
        QVERIFY(started.wait(20000));
        QCOMPARE(pane()->ReadyState(), int(TCppWebBrowser::Loading));
        QCOMPARE(form_->GetPageWindow(), nullptr);
        form_->Edit1->setFocus();
        form_->CppWebBrowserNavigateComplete2(pane());
        form_->CppWebBrowserEnter(pane());
        QCOMPARE(QApplication::focusWidget(), form_->Edit1);
    }

    void failingRead_isSwallowedSilently() {
        QVERIFY(navigate(QUrl(QStringLiteral("data:text/html,<title>page</title>"))));
        QSignalSpy gone(pane(), &QWebEngineView::renderProcessTerminated);
        pane()->load(QUrl(QStringLiteral("chrome://crash")));
        QVERIFY(gone.wait(20000));
        QVERIFY_THROWS_EXCEPTION(Exception, pane()->ReadyState());
        QVERIFY_THROWS_EXCEPTION(Exception, pane()->Document());
        // Nothing escapes the handlers: a failure here would throw right out
        // of these calls.
        QCOMPARE(form_->GetPageWindow(), nullptr);
        form_->Edit1->setFocus();
        form_->CppWebBrowserEnter(pane());
        form_->CppWebBrowserNavigateComplete2(pane());
        QCOMPARE(QApplication::focusWidget(), form_->Edit1);
    }
};

PELLIWICK_TEST_MAIN(WebPagePaneTest)
#include "WebPagePaneTest.moc"
