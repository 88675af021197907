#include "players/PlayerEngine.h"

#include "library/Exception.h"
#include "library/FileSystem.h"
#include "players/NoGpuNotice.h"
#include "players/PlayerSchemeHandler.h"

#include <QCoreApplication>
#include <algorithm>
#include <unistd.h>

void PlayerEngine::prepare() {
    // The host page lives in a static library: bring it in explicitly.
    Q_INIT_RESOURCE(players);
    PlayerSchemeHandler::registerScheme();
    // Without a graphics card OpenGL is emulated in software, which costs the
    // window some 50 ms of start-up and the player some 100 MB; the engine
    // draws faster and smaller in software of its own. A setting the user
    // made for Qt is kept.
    const bool gpu = access("/dev/dri/renderD128", F_OK) == 0;
    if (!gpu)
        NoGpuNotice::install();
    if (!gpu && !qEnvironmentVariableIsSet("QT_QUICK_BACKEND")) {
        qputenv("QT_XCB_GL_INTEGRATION", "none");
        qputenv("QT_QUICK_BACKEND", "software");
        QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags + " --disable-gpu");
    }
    // Offline below the page too: no name resolves and nothing is looked up
    // or fetched ahead, so a request that got past the page's interceptor
    // fails at once all the same.
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") +
                " --host-resolver-rules=\"MAP * ~NOTFOUND\" --dns-prefetch-disable"
                " --disable-background-networking");
    // Chromium refuses to start its sandbox as root and the process dies;
    // only then does the player run without it.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

std::string PlayerEngine::ruffleFolder() {
    const std::string program = FileSystem::executablePath();
    const std::string folder = program.substr(0, program.rfind('/') + 1) + "ruffle";
    if (access((folder + "/ruffle.js").c_str(), R_OK) != 0)
        throw Exception("The Flash player is not installed: " + folder + "/ruffle.js is missing");
    const auto entries = FileSystem::enumerate(folder);
    if (!entries || std::none_of(entries->begin(), entries->end(),
                                 [](const DirEntry& e) { return e.lowerName.ends_with(".wasm"); }))
        throw Exception("The Flash player is not installed: no WebAssembly file in " + folder);
    return folder;
}
