// A process's main thread as the kernel counts it: the player judges its
// page by that thread's work.
#include "library/ProcessWork.h"

#include "support/TestMain.h"

#include <QTest>
#include <csignal>
#include <cstring>
#include <ctime>
#include <sys/mman.h>
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

class ProcessWorkTest : public QObject {
    Q_OBJECT
private slots:
    void of_countsTheMainThreadApartFromTheOthersWhateverItsName() {
        // A name with brackets and blanks, as a thread may give itself.
        char name[16] = {};
        prctl(PR_GET_NAME, name);
        prctl(PR_SET_NAME, "a) b (c) d");
        const auto before = ProcessWork::of(getpid());
        std::thread([] { work(300); }).join();
        work(200);
        const auto after = ProcessWork::of(getpid());
        prctl(PR_SET_NAME, name);
        QVERIFY(before && after);
        QCOMPARE(after->mainThreadState, 'R');
        const std::int64_t main = after->mainThreadMs - before->mainThreadMs;
        const std::int64_t all = after->allThreadsMs - before->allThreadsMs;
        QVERIFY2(main >= 170 && main <= 260, qPrintable(QString::number(main)));
        QVERIFY2(all >= 470 && all <= 560, qPrintable(QString::number(all)));
    }

    void of_countsTheMemoryTheProcessTouchesNotWhatItReserves() {
        // The player's memory limits are about what a game really holds.
        constexpr std::size_t size = std::size_t(64) << 20;
        const auto before = ProcessWork::of(getpid());
        void* place =
            mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        QVERIFY(place != MAP_FAILED);
        const auto reserved = ProcessWork::of(getpid());
        std::memset(place, 1, size);
        const auto touched = ProcessWork::of(getpid());
        munmap(place, size);
        QVERIFY(before && reserved && touched);
        const std::int64_t grown = touched->residentBytes - reserved->residentBytes;
        QVERIFY2(reserved->residentBytes - before->residentBytes < std::int64_t(size) / 8,
                 qPrintable(QString::number(reserved->residentBytes - before->residentBytes)));
        QVERIFY2(grown >= std::int64_t(size) * 9 / 10 && grown <= std::int64_t(size) * 3 / 2,
                 qPrintable(QString::number(grown >> 20)));
    }

    void of_tellsAStoppedProcessAndNothingOfOneGone() {
        const pid_t child = fork();
        if (child == 0) {
            pause();
            _exit(0);
        }
        QVERIFY(child > 0);
        kill(child, SIGSTOP);
        QTRY_COMPARE_WITH_TIMEOUT(
            ProcessWork::of(child).value_or(ProcessWork{0, 0, '?', 0}).mainThreadState, 'T',
            HangMs);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        QVERIFY(!ProcessWork::of(child));
        QVERIFY(!ProcessWork::of(0));
    }
};

PELLIWICK_TEST_MAIN(ProcessWorkTest)
#include "ProcessWorkTest.moc"
