// The saves' way to the disk: a save rewritten all the time is written once
// an interval at most, its last version always, and nothing that waits is
// lost when the writer ends.
#include "library/SaveWriter.h"

#include "support/TestMain.h"

#include <QTest>
#include <mutex>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Written {
    std::string key;
    SaveWriter::Version version;
    Clock::time_point at;
};

// Keeps what the writer wrote, in order.
class Disk {
public:
    SaveWriter::Write write() {
        return [this](const std::string& key, const SaveWriter::Version& version) {
            const std::lock_guard lock(mutex_);
            written_.push_back({key, version, Clock::now()});
        };
    }
    std::vector<Written> of(const std::string& key) {
        const std::lock_guard lock(mutex_);
        std::vector<Written> found;
        for (const Written& w : written_)
            if (w.key == key)
                found.push_back(w);
        return found;
    }

private:
    std::mutex mutex_;
    std::vector<Written> written_;
};

} // namespace

class SaveWriterTest : public QObject {
    Q_OBJECT
private slots:
    void rewrittenAllTheTime_isWrittenOnceAnIntervalAtMost_lastVersionLast() {
        Disk disk;
        const std::chrono::milliseconds interval{100};
        SaveWriter writer(disk.write(), interval);
        const Clock::time_point start = Clock::now();
        int version = 0;
        while (Clock::now() - start < 6 * interval) {
            writer.put("frame", std::to_string(++version));
            writer.put("other", "x");
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        // The last version comes within an interval, unhurried.
        const std::string last = std::to_string(version);
        QTRY_VERIFY_WITH_TIMEOUT(
            !disk.of("frame").empty() && disk.of("frame").back().version == last, 10000);
        const auto elapsed = Clock::now() - start;
        const std::vector<Written> written = disk.of("frame");
        QVERIFY2(written.size() <= std::size_t(elapsed / interval) + 2,
                 qPrintable(QString::number(written.size()) + " writes"));
        for (std::size_t i = 1; i < written.size(); ++i)
            QVERIFY(written[i].at - written[i - 1].at >= interval);
        QCOMPARE(disk.of("other").back().version, "x");
    }

    void whatWaits_isSeenAsTheSave_andWrittenWhenTheWriterEnds() {
        Disk disk;
        {
            SaveWriter writer(disk.write(), std::chrono::hours(1));
            // The first version of each goes at once, the next waits.
            writer.put("a", "first");
            writer.put("b", "there");
            QTRY_VERIFY(disk.of("a").size() == 1 && disk.of("b").size() == 1);
            writer.put("a", "second");
            writer.put("b", std::nullopt);
            QCOMPARE(writer.waiting("a"), std::optional<SaveWriter::Version>("second"));
            QCOMPARE(writer.waiting("b"), std::optional<SaveWriter::Version>(std::in_place));
            QCOMPARE(writer.waiting("c"), std::nullopt);
        }
        QCOMPARE(disk.of("a").back().version, "second");
        QCOMPARE(disk.of("b").back().version, std::nullopt);
    }

    void move_takesWhatWaitsToTheNewName_neverOntoSavesThatWait() {
        Disk disk;
        {
            SaveWriter writer(disk.write(), std::chrono::hours(1));
            writer.put("old/a", "first");
            writer.put("taken/a", "first");
            QTRY_VERIFY(disk.of("old/a").size() == 1 && disk.of("taken/a").size() == 1);
            writer.put("old/a", "second");
            writer.put("taken/a", "second");
            bool moved = false;
            QVERIFY(writer.move("old/", "new/", [&] { return moved = true; }));
            QVERIFY(moved);
            QCOMPARE(writer.waiting("new/a"), std::optional<SaveWriter::Version>("second"));
            QCOMPARE(writer.waiting("old/a"), std::nullopt);
            QVERIFY(!writer.move("new/", "taken/", [] { return true; }));
            QVERIFY(!writer.move("taken/", "elsewhere/", [] { return false; }));
            QCOMPARE(writer.waiting("taken/a"), std::optional<SaveWriter::Version>("second"));
        }
        QCOMPARE(disk.of("new/a").back().version, "second");
        QCOMPARE(disk.of("old/a").size(), std::size_t(1));
    }
};

PELLIWICK_TEST_MAIN(SaveWriterTest)
#include "SaveWriterTest.moc"
