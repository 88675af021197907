// What the player's own scheme serves to its page, and what it refuses, asked
// the way the page asks: by requests from inside the host page.
#include "players/PlayerSchemeHandler.h"

#include "app/Application.h"
#include "library/FileSystem.h"
#include "players/TShockwaveFlash.h"
#include "support/TestMain.h"
#include "support/TreeBuilder.h"

#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineProfile>

class PlayerSchemeHandlerTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TreeBuilder> tree_;
    QWebEngineProfile* profile_ = nullptr;
    QWebEnginePage* page_ = nullptr;
    PlayerSchemeHandler* handler_ = nullptr;

    std::string games() const { return tree_->path("games"); }
    QString game(const std::string& rest) const {
        return PlayerSchemeHandler::gameFilesUrl() + QString::fromStdString(games() + rest);
    }

    // "status:length" of a GET (or another method) from the page, or
    // "refused" when the request fails.
    QString probe(const QString& url, const QString& method = QStringLiteral("GET")) {
        QString result;
        const QString script =
            QStringLiteral("(() => { try { const x = new XMLHttpRequest(); x.open('%1', '%2', "
                           "false); x.send(); return x.status + ':' + x.responseText.length; } "
                           "catch (e) { return 'refused'; } })()")
                .arg(method, url);
        page_->runJavaScript(script, [&](const QVariant& value) { result = value.toString(); });
        if (!QTest::qWaitFor([&] { return !result.isEmpty(); }, 10000))
            return QStringLiteral("no answer");
        return result;
    }

private slots:
    void initTestCase() {
        tree_ = std::make_unique<TreeBuilder>();
        tree_->folder("games");
        tree_->folder("games/levels");
        tree_->file("games/Tennis.SWF", "movie");
        tree_->file("games/levels/one.swf", "level 1");
        tree_->file("secret.txt", "secret");
        tree_->link("games/out.swf", "../secret.txt");
        mkfifo(tree_->path("games/pipe.swf").c_str(), 0644);

        const std::string program = FileSystem::executablePath();
        profile_ = new QWebEngineProfile(this);
        handler_ = new PlayerSchemeHandler(program.substr(0, program.rfind('/')) + "/ruffle", this);
        profile_->installUrlSchemeHandler(PlayerSchemeHandler::Scheme, handler_);
        page_ = new QWebEnginePage(profile_, this);
        QSignalSpy loaded(page_, &QWebEnginePage::loadFinished);
        page_->load(PlayerSchemeHandler::hostPageUrl());
        QVERIFY(loaded.wait(30000));
        QCOMPARE(loaded.first().first().toBool(), true);
    }
    void cleanupTestCase() {
        delete page_;
        tree_.reset();
    }

    void servesThePlayersOwnFiles() {
        QVERIFY(probe(QStringLiteral("pelliwick://player/ruffle/ruffle.js")).startsWith("200:"));
        QCOMPARE(probe(QStringLiteral("pelliwick://player/ruffle/../../../etc/passwd")),
                 QStringLiteral("refused"));
        QCOMPARE(probe(QStringLiteral("pelliwick://player/ruffle/%2e%2e/%2e%2e/etc/passwd")),
                 QStringLiteral("refused"));
        QCOMPARE(probe(QStringLiteral("pelliwick://player/ruffle/..%2F..%2F..%2Fetc%2Fpasswd")),
                 QStringLiteral("refused"));
        QCOMPARE(probe(QStringLiteral("pelliwick://player/nothing.html")),
                 QStringLiteral("refused"));
        QCOMPARE(probe(QStringLiteral("pelliwick://player/ruffle/ruffle.js"), "POST"),
                 QStringLiteral("refused"));
    }

    void servesTheMovieAndItsFolderOnlyWhileItPlays() {
        QCOMPARE(probe(game("/Tennis.SWF")), QStringLiteral("refused"));
        handler_->serve(GameFile::ofEntry(games(), {"Tennis", {}}));
        QCOMPARE(probe(game("/Tennis.SWF")), QStringLiteral("200:5"));
        QCOMPARE(probe(game("/tennis.swf")), QStringLiteral("200:5"));
        QCOMPARE(probe(game("/levels/one.swf")), QStringLiteral("200:7"));
        handler_->serveNoGame();
        QCOMPARE(probe(game("/Tennis.SWF")), QStringLiteral("refused"));
    }

    void refusesWhatLiesOutsideTheMoviesFolder() {
        handler_->serve(GameFile::ofEntry(games(), {"Tennis", {}}));
        const QString outside =
            QStringLiteral("pelliwick://player/game") + QString::fromStdString(tree_->root());
        QCOMPARE(probe(game("/../secret.txt")), QStringLiteral("refused"));
        QCOMPARE(probe(game("/%2e%2e/secret.txt")), QStringLiteral("refused"));
        QCOMPARE(probe(game("/levels/..%2F..%2Fsecret.txt")), QStringLiteral("refused"));
        QCOMPARE(probe(outside + "/secret.txt"), QStringLiteral("refused"));
        QCOMPARE(probe(QStringLiteral("pelliwick://player/game/etc/passwd")),
                 QStringLiteral("refused"));
        QCOMPARE(probe(QStringLiteral("pelliwick://player/game//etc/passwd")),
                 QStringLiteral("refused"));
        QCOMPARE(probe(game("/out.swf")), QStringLiteral("refused"));
        QCOMPARE(probe(game("/levels")), QStringLiteral("refused"));
        QCOMPARE(probe(game("/pipe.swf")), QStringLiteral("refused"));
        // Still serving after all that.
        QCOMPARE(probe(game("/Tennis.SWF")), QStringLiteral("200:5"));
    }
};

PELLIWICK_TEST_MAIN(PlayerSchemeHandlerTest)
#include "PlayerSchemeHandlerTest.moc"
