// A process's main thread as the kernel counts it: the player judges its
// page by that thread's work.
#include "library/ThreadWork.h"

#include "support/TestMain.h"

#include <QTest>
#include <csignal>
#include <ctime>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

std::int64_t threadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return std::int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

void work(std::int64_t ms) {
    const std::int64_t end = threadCpuMs() + ms;
    while (threadCpuMs() < end) {
    }
}

} // namespace

class ThreadWorkTest : public QObject {
    Q_OBJECT
private slots:
    void ofMainThread_countsTheMainThreadsOwnWorkWhateverItsName() {
        // A name with brackets and blanks, as a thread may give itself.
        char name[16] = {};
        prctl(PR_GET_NAME, name);
        prctl(PR_SET_NAME, "a) b (c) d");
        const auto before = ThreadWork::ofMainThread(getpid());
        // Work of another thread is not the main thread's.
        std::thread([] { work(300); }).join();
        work(200);
        const auto after = ThreadWork::ofMainThread(getpid());
        prctl(PR_SET_NAME, name);
        QVERIFY(before && after);
        QCOMPARE(after->state, 'R');
        const std::int64_t worked = after->cpuMs - before->cpuMs;
        QVERIFY2(worked >= 170 && worked <= 260, qPrintable(QString::number(worked)));
    }

    void ofMainThread_tellsAStoppedProcessAndNothingOfOneGone() {
        const pid_t child = fork();
        if (child == 0) {
            pause();
            _exit(0);
        }
        QVERIFY(child > 0);
        kill(child, SIGSTOP);
        QTRY_COMPARE(ThreadWork::ofMainThread(child).value_or(ThreadWork{0, '?'}).state, 'T');
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        QVERIFY(!ThreadWork::ofMainThread(child));
        QVERIFY(!ThreadWork::ofMainThread(0));
    }
};

PELLIWICK_TEST_MAIN(ThreadWorkTest)
#include "ThreadWorkTest.moc"
