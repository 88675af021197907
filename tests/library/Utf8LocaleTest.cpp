// The program takes a UTF-8 locale before Qt starts, whatever locale the
// environment names, or none: Qt then has nothing to switch, and nothing to
// say about it at every start.
#include "library/Utf8Locale.h"

#include "support/TestMain.h"

#include <QTest>
#include <clocale>
#include <cstdlib>
#include <langinfo.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// In a child whose locale environment is just what is given: the character
// set the process reads once Qt has read the environment as it does, and the
// locale variables then set, one line.
QByteArray afterTaking(const QList<QByteArray>& environment) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return "<no pipe>";
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        for (const char* name : {"LANG", "LANGUAGE", "LC_ALL", "LC_CTYPE", "LC_MESSAGES",
                                 "LC_NUMERIC", "LC_COLLATE", "LC_TIME", "LC_MONETARY"})
            unsetenv(name);
        for (const QByteArray& setting : environment)
            putenv(strdup(setting.constData()));
        Utf8Locale::take();
        std::setlocale(LC_ALL, "C");
        std::setlocale(LC_ALL, ""); // as Qt does as it starts
        QByteArray said = nl_langinfo(CODESET);
        for (const char* name : {"LANG", "LC_ALL", "LC_CTYPE", "LC_MESSAGES"})
            if (const char* value = std::getenv(name))
                said += QByteArray(" ") + name + "=" + value;
        (void)!write(pipeEnds[1], said.constData(), size_t(said.size()));
        _exit(0);
    }
    close(pipeEnds[1]);
    QByteArray said;
    char buffer[256];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, n);
    close(pipeEnds[0]);
    waitpid(child, nullptr, 0);
    return said;
}

} // namespace

class Utf8LocaleTest : public QObject {
    Q_OBJECT
private slots:
    void take_leavesEveryLocaleReadingUtf8_data() {
        QTest::addColumn<QList<QByteArray>>("environment");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("none set, as on a minimal system")
            << QList<QByteArray>{} << QByteArray("UTF-8 LC_CTYPE=C.UTF-8");
        QTest::newRow("a UTF-8 one, left alone")
            << QList<QByteArray>{"LANG=C.UTF-8"} << QByteArray("UTF-8 LANG=C.UTF-8");
        QTest::newRow("LANG=C, messages kept")
            << QList<QByteArray>{"LANG=C", "LC_MESSAGES=POSIX"}
            << QByteArray("UTF-8 LANG=C LC_CTYPE=C.UTF-8 LC_MESSAGES=POSIX");
        QTest::newRow("LC_ALL=C, which overrides the rest")
            << QList<QByteArray>{"LANG=C.UTF-8", "LC_ALL=C"}
            << QByteArray("UTF-8 LANG=C.UTF-8 LC_ALL=C.UTF-8");
        QTest::newRow("a character set of its own, under a UTF-8 LANG")
            << QList<QByteArray>{"LANG=C.UTF-8", "LC_CTYPE=POSIX"}
            << QByteArray("UTF-8 LANG=C.UTF-8 LC_CTYPE=C.UTF-8");
        QTest::newRow("a locale the system lacks")
            << QList<QByteArray>{"LANG=xx_YY.ISO-8859-1"}
            << QByteArray("UTF-8 LANG=xx_YY.ISO-8859-1 LC_ALL=C.UTF-8");
    }
    void take_leavesEveryLocaleReadingUtf8() {
        QFETCH(QList<QByteArray>, environment);
        QFETCH(QByteArray, after);
        QCOMPARE(afterTaking(environment), after);
    }
};

PELLIWICK_TEST_MAIN(Utf8LocaleTest)
#include "Utf8LocaleTest.moc"
