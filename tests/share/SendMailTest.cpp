#include "share/SendMail.h"

#include "app/Application.h"
#include "app/TMainForm.h"
#include "players/TShockwaveFlash.h"
#include "share/Addresses.h"
#include "support/StandInCommand.h"
#include "support/TestMain.h"
#include "support/TreeBuilder.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Set in the copy of this test that runs with a PATH of its own: the folder
// that PATH names.
constexpr char OwnPathFolder[] = "SENDMAIL_TEST_PATH_FOLDER";

// The message that tells a friend about the program: its six lines, each
// ended by lineEnd.
QString tellAFriendLines(const QString& lineEnd) {
    QString text;
    for (const QString& line :
         {QStringLiteral("Hi,"),
          QStringLiteral("Tell you  a interesting software---pelliwick ,it can manage your little "
                         "games with classes and include 30 interesting games."),
          QStringLiteral("Download web:"), QString::fromUtf8(Addresses::DownloadPage),
          QStringLiteral("Download directly :"), QString::fromUtf8(Addresses::Installer)})
        text += line + lineEnd;
    return text;
}

// What the stand-in mail program records for a message with nothing else.
QByteArray recorded(const QString& subject, const QString& body) {
    return ("--subject\n" + subject + "\n--body\n" + body + "\n").toUtf8();
}

} // namespace

class SendMailTest : public QObject {
    Q_OBJECT
private:
    // The mail program is looked for in front_ first, then in behind_.
    QTemporaryDir front_;
    QTemporaryDir behind_;
    StandInCommand mail_{front_.path(), QStringLiteral("xdg-email")};
    StandInCommand laterMail_{behind_.path(), QStringLiteral("xdg-email")};

    static bool ownPath() { return qEnvironmentVariableIsSet(OwnPathFolder); }

private slots:
    void initTestCase() {
        if (!ownPath())
            qputenv("PATH",
                    (front_.path() + ':' + behind_.path() + ':').toLocal8Bit() + qgetenv("PATH"));
    }
    void init() {
        if (!ownPath()) {
            mail_.install();
            laterMail_.install();
        }
    }

    void sendMail_handsOnSubjectAndBodyAlone_data() {
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("body");
        QTest::newRow("tell a friend")
            << "Hi,Tell you a interesting software" << tellAFriendLines("\r\n");
        QTest::newRow("shell characters") << "'$HOME' \"`x`\""
                                          << "a\\b;c|d&e *\r\n-f ü";
    }
    void sendMail_handsOnSubjectAndBodyAlone() {
        QFETCH(QString, subject);
        QFETCH(QString, body);
        QVERIFY(SendMail(subject, body));
        QCOMPARE(mail_.record(), recorded(subject, body));
    }

    void sendMail_isTrueOnlyWhenTheCommandExitsWithZero_data() {
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<bool>("crash");
        QTest::addColumn<bool>("sent");
        QTest::newRow("0") << 0 << false << true;
        QTest::newRow("1") << 1 << false << false;
        QTest::newRow("3, no mail program") << 3 << false << false;
        QTest::newRow("killed") << 0 << true << false;
    }
    void sendMail_isTrueOnlyWhenTheCommandExitsWithZero() {
        QFETCH(int, exitCode);
        QFETCH(bool, crash);
        QFETCH(bool, sent);
        mail_.install(exitCode, crash);
        QCOMPARE(SendMail("Subject", "Body"), sent);
        QVERIFY(mail_.ran());
    }

    void sendMail_keepsUsingTheCommandFoundFirst() {
        QVERIFY(SendMail("Subject", "Body"));
        mail_.remove();
        QVERIFY(!SendMail("Subject", "Body"));
        QVERIFY(!laterMail_.ran());
    }

    void sendMail_commandMissingAtFirstStaysMissing() {
        if (!ownPath()) {
            // The look-up is made once per process: a fresh copy of this test
            // runs the case, with an empty folder for PATH.
            QTemporaryDir empty;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert("PATH", empty.path());
            environment.insert(OwnPathFolder, empty.path());
            QProcess copy;
            copy.setProcessEnvironment(environment);
            copy.setProcessChannelMode(QProcess::MergedChannels);
            copy.start(QCoreApplication::applicationFilePath(), {QTest::currentTestFunction()});
            QVERIFY(copy.waitForFinished(60000));
            QVERIFY2(copy.exitStatus() == QProcess::NormalExit && copy.exitCode() == 0,
                     copy.readAll().constData());
            return;
        }
        const StandInCommand mail(qEnvironmentVariable(OwnPathFolder), "xdg-email");
        QVERIFY(!SendMail("Subject", "Body"));
        mail.install();
        QVERIFY(!SendMail("Subject", "Body"));
        QVERIFY(!mail.ran());
    }

    void tellAFriend_memoHoldsTheSixLines() {
        TreeBuilder library;
        TMainForm form(library.path("pelliwick"));
        QCOMPARE(form.Memo2->toPlainText(), tellAFriendLines("\n"));
    }

    void tellAFriend_mailsTheMemoWithEveryLineEndedByCrLf() {
        TreeBuilder library;
        TMainForm form(library.path("pelliwick"));
        form.SpeedButton5->click();
        QCOMPARE(mail_.record(),
                 recorded("Hi,Tell you a interesting software", tellAFriendLines("\r\n")));
    }
};

PELLIWICK_TEST_MAIN(SendMailTest)
#include "SendMailTest.moc"
