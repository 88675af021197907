// The player's settings as the page hands them to the program: kept only
// for a game the page was given and only when the page's values are the
// controls' own, under the name the game has now, even while it still plays
// under its old one, and read back as the defaults, logged, when damaged.
#include "players/SaveBridge.h"

#include "support/TestMain.h"
#include "support/TreeBuilder.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>
#include <memory>

namespace {

const std::string Pong = "localhost/home/u/Action/pong.swf";
const std::string Golf = "localhost/home/u/Sport/golf.swf";

// The settings as they read, "defaults" for the defaults.
QString shown(const PlayerSettings& settings) {
    return settings.isDefault() ? QStringLiteral("defaults")
                                : QString::fromStdString(settings.text()).trimmed();
}

} // namespace

class SaveBridgeTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TreeBuilder> tree_;
    std::unique_ptr<SaveBridge> bridge_;

    std::string store() const { return tree_->path("pelliwick-saves"); }

private slots:
    void init() {
        tree_ = std::make_unique<TreeBuilder>();
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(tree_->root()));
        bridge_ = std::make_unique<SaveBridge>(nullptr);
    }
    void cleanup() {
        bridge_.reset();
        tree_.reset();
    }

    void keepSettings_forTheGameGivenAlone_withTheControlsOwnValues() {
        // A movie the page was not given: nothing is kept.
        bridge_->keepSettings(QString::fromStdString(Pong), QStringLiteral("low"), 40, false);
        QCOMPARE(shown(bridge_->settings(Pong)), "defaults");
        QVERIFY(!QFileInfo::exists(QString::fromStdString(store())));

        bridge_->open(Pong);
        bridge_->keepSettings(QString::fromStdString(Pong), QStringLiteral("medium"), 40, true);
        QCOMPARE(shown(bridge_->settings(Pong)), "quality=medium\nvolume=40\nmuted=yes");
        // Values the controls cannot have leave the settings as they were.
        bridge_->keepSettings(QString::fromStdString(Pong), QStringLiteral("best"), 40, false);
        bridge_->keepSettings(QString::fromStdString(Pong), QStringLiteral("LOW"), 40, false);
        bridge_->keepSettings(QString::fromStdString(Pong), QString(), 101, false);
        bridge_->keepSettings(QString::fromStdString(Pong), QString(), -1, false);
        QCOMPARE(shown(bridge_->settings(Pong)), "quality=medium\nvolume=40\nmuted=yes");
        // Back at the defaults: the file goes.
        bridge_->keepSettings(QString::fromStdString(Pong), QString(), 100, false);
        QCOMPARE(shown(bridge_->settings(Pong)), "defaults");
        QVERIFY(!QFileInfo::exists(QString::fromStdString(
            store() + "/localhost/home/u/Action/pong.swf/.player-settings")));
    }

    void keepSettings_followTheGameMovedWhileItPlays() {
        bridge_->open(Pong);
        bridge_->keepSettings(QString::fromStdString(Pong), QStringLiteral("low"), 100, false);
        bridge_->gameMoved(Pong, Golf);
        QCOMPARE(shown(bridge_->settings(Golf)), "quality=low");
        QCOMPARE(shown(bridge_->settings(Pong)), "defaults");
        // The page still plays the game under the name it was given.
        bridge_->keepSettings(QString::fromStdString(Pong), QStringLiteral("low"), 30, false);
        QCOMPARE(shown(bridge_->settings(Golf)), "quality=low\nvolume=30");
        QVERIFY(!QFileInfo::exists(
            QString::fromStdString(store() + "/localhost/home/u/Action/pong.swf")));
    }

    void settings_damaged_areTheDefaultsAndLogged() {
        bridge_->open(Pong);
        bridge_->keepSettings(QString::fromStdString(Pong), QStringLiteral("low"), 100, false);
        tree_->file("pelliwick-saves/localhost/home/u/Action/pong.swf/.player-settings",
                    "quality=low\nquality=high\n");
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral(
                                 "player settings were not read.*pong\\.swf damaged$")));
        QCOMPARE(shown(bridge_->settings(Pong)), "defaults");
    }
};

PELLIWICK_TEST_MAIN(SaveBridgeTest)
#include "SaveBridgeTest.moc"
