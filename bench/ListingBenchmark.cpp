// Lists a category of 100,000 games and compares, in one run, the folder scan
// with find(1) over the same folder, and times a category change from the
// selector to a filled, painted list and count label. Then the same scan and
// find over a category kept as users unpack games, a folder per game: 10,000
// games in 1,000 folders, three deep.
#include "app/Application.h"
#include "app/TMainForm.h"
#include "library/ScanFolder.h"
#include "players/TShockwaveFlash.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int GameCount = 100000;
constexpr int Subfolders = 20;
constexpr int GamesPerSubfolder = 1000;
constexpr int Runs = 7;

void touch(const std::string& path) {
    close(open(path.c_str(), O_WRONLY | O_CREAT, 0644));
}

// 80,000 games in the folder itself, 20,000 in twenty subfolders; a mix of
// letter cases and both listed extensions, as a real collection has.
void makeCategory(const std::string& folder) {
    mkdir(folder.c_str(), 0755);
    int made = 0;
    for (int s = 0; s < Subfolders; ++s) {
        const std::string sub = folder + "/Pack " + std::to_string(s);
        mkdir(sub.c_str(), 0755);
        for (int i = 0; i < GamesPerSubfolder; ++i, ++made)
            touch(sub + "/Game " + std::to_string(made) + (i % 5 ? ".swf" : ".jpg"));
    }
    for (; made < GameCount; ++made)
        touch(folder + "/" + (made % 3 ? "game-" : "Game-") + std::to_string(made) +
              (made % 7 ? ".swf" : ".SWF"));
}

// Ten packs of ten series of ten games, each game a folder of its own with
// its movie, a picture beside it and a level it loads.
constexpr int TreeGames = 10000;
void makeTree(const std::string& folder) {
    mkdir(folder.c_str(), 0755);
    int made = 0;
    for (int pack = 0; pack < 10; ++pack) {
        const std::string packFolder = folder + "/Pack " + std::to_string(pack);
        mkdir(packFolder.c_str(), 0755);
        for (int series = 0; series < 10; ++series) {
            const std::string seriesFolder = packFolder + "/Series " + std::to_string(series);
            mkdir(seriesFolder.c_str(), 0755);
            for (int game = 0; game < 10; ++game) {
                const std::string gameFolder = seriesFolder + "/Game " + std::to_string(game);
                mkdir(gameFolder.c_str(), 0755);
                for (int file = 0; file < 10; ++file, ++made)
                    touch(gameFolder + "/Part " + std::to_string(made) +
                          (file % 5 ? ".swf" : ".jpg"));
                touch(gameFolder + "/levels.xml");
            }
        }
    }
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double timeFind(const std::string& folder) {
    const int devNull = open("/dev/null", O_WRONLY);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, devNull, STDOUT_FILENO);
    std::string dir = folder;
    char find[] = "find";
    char* argv[] = {find, dir.data(), nullptr};
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    posix_spawnp(&pid, "find", &actions, nullptr, argv, environ);
    int status = 0;
    waitpid(pid, &status, 0);
    const double ms = clock.nsecsElapsed() / 1e6;
    posix_spawn_file_actions_destroy(&actions);
    close(devNull);
    return ms;
}

// find and the folder scan over one folder, in turns, medians of Runs each.
struct Scans {
    double findMs;
    double scanMs;
    size_t listed;
};
Scans scans(const std::string& folder) {
    std::vector<double> findMs, scanMs;
    size_t listed = 0;
    timeFind(folder); // warm the cache for both
    for (int run = 0; run < Runs; ++run) {
        findMs.push_back(timeFind(folder));
        QElapsedTimer clock;
        clock.start();
        GameEntries entries;
        ScanFolder(folder, entries);
        scanMs.push_back(clock.nsecsElapsed() / 1e6);
        listed = entries.size();
    }
    return {median(findMs), median(scanMs), listed};
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TShockwaveFlash::prepare();
    Application app(argc, argv);
    QTemporaryDir dir;
    const std::string root = dir.path().toStdString();
    const std::string action = root + "/Action";
    std::printf("Making %d game files...\n", GameCount);
    makeCategory(action);

    const Scans flat = scans(action);

    const std::string adventure = root + "/Adventure";
    std::printf("Making %d game files in folders three deep...\n", TreeGames);
    makeTree(adventure);
    const Scans tree = scans(adventure);

    TMainForm form(root + "/pelliwick");
    form.ComboBox1->setCurrentIndex(6);
    form.show();
    std::vector<double> listingMs;
    for (int run = 0; run < Runs; ++run) {
        form.ComboBox1->setCurrentIndex(6);
        emit form.ComboBox1->activated(6);
        QCoreApplication::processEvents();
        QElapsedTimer clock;
        clock.start();
        form.ComboBox1->setCurrentIndex(0);
        emit form.ComboBox1->activated(0);
        form.repaint();
        listingMs.push_back(clock.nsecsElapsed() / 1e6);
    }

    std::printf("entries listed:              %zu (count label %s)\n", flat.listed,
                qPrintable(form.Label2->text()));
    std::printf("find, median of %d:           %.1f ms\n", Runs, flat.findMs);
    std::printf("ScanFolder, median of %d:     %.1f ms  (%.2f x find)\n", Runs, flat.scanMs,
                flat.scanMs / flat.findMs);
    std::printf("category change to painted list and count, median of %d: %.1f ms\n", Runs,
                median(listingMs));
    std::printf("in folders three deep: entries listed %zu\n", tree.listed);
    std::printf("find, median of %d:           %.1f ms\n", Runs, tree.findMs);
    std::printf("ScanFolder, median of %d:     %.1f ms  (%.2f x find; goal 1.5 at most)\n", Runs,
                tree.scanMs, tree.scanMs / tree.findMs);
    return flat.listed == size_t(GameCount) && tree.listed == size_t(TreeGames) ? 0 : 1;
}
