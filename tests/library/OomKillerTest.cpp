// The kernel's choice when the machine runs out of memory: a game's process
// ranked first, as an ordinary user may rank their own processes.
#include "library/OomKiller.h"

#include "support/OrdinaryUser.h"
#include "support/TestMain.h"

#include <QTest>
#include <csignal>
#include <fstream>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string adjustment(long pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/oom_score_adj");
    std::string value;
    file >> value;
    return value;
}

} // namespace

class OomKillerTest : public QObject {
    Q_OBJECT
private slots:
    void rankFirst_putsAnOrdinaryUsersOwnProcessFirstAndRefusesWhatIsNotThere() {
        const auto ranked = asOrdinaryUser([] {
            // A process that switched from root is kept from its own user as
            // a program started by that user is not.
            prctl(PR_SET_DUMPABLE, 1);
            const pid_t child = fork();
            if (child == 0) {
                pause();
                _exit(0);
            }
            std::string why;
            const bool first = OomKiller::rankFirst(child, why);
            const std::string seen = adjustment(child);
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
            std::string whyGone;
            const bool gone = OomKiller::rankFirst(child, whyGone);
            return std::string(first ? "ranked " : "refused ") + seen + " " + why +
                   (gone ? " gone ranked" : " gone refused: " + whyGone);
        });
        QVERIFY(ranked);
        QVERIFY2(ranked->starts_with("ranked 1000  gone refused: /proc/"), ranked->c_str());
        std::string why;
        QVERIFY(!OomKiller::rankFirst(0, why));
    }

    void kills_countsWhatTheKernelEndedSinceTheMachineStarted() {
        // Kernels since 4.13 tell it; no test may make the kernel end one.
        const auto kills = OomKiller::kills();
        QVERIFY(kills);
        QVERIFY(*kills >= 0);
    }
};

PELLIWICK_TEST_MAIN(OomKillerTest)
#include "OomKillerTest.moc"
