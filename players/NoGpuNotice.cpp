#include "players/NoGpuNotice.h"

#include "players/PlayerLog.h"

#include <QLoggingCategory>
#include <QStringView>
#include <algorithm>
#include <cstdio>

namespace {

// What Qt and the engine say of a machine without OpenGL or Vulkan: that Qt
// can make no OpenGL context for the engine to share, and (from Qt 6.8 on)
// the engine's search for the GPU's maker, which tries OpenGL and Vulkan at
// every start whatever the engine was told.
bool saysNoGpu(QStringView message) {
    static constexpr QStringView beginnings[] = {
        u"QXcbIntegration: Cannot create platform OpenGL context, neither GLX nor EGL",
        u"QXcbIntegration: Cannot create platform offscreen surface, neither GLX nor EGL",
        u"No suitable graphics backend found",
        u"QRhiGles2: Failed to create temporary context",
        u"QRhiGles2: Failed to create context",
        u"Failed to create Vulkan instance: ",
        u"Failed to create platform Vulkan instance",
        u"Unable to detect GPU vendor.",
    };
    return std::any_of(std::begin(beginnings), std::end(beginnings),
                       [message](QStringView beginning) { return message.startsWith(beginning); });
}

} // namespace

void NoGpuNotice::install() {
    qCInfo(playerLog) << "no GPU found: games are drawn in software";
    // Qt 6.4's engine describes its graphics set-up at every start when it
    // has no OpenGL; a rule the user sets in QT_LOGGING_RULES still shows it.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    qInstallMessageHandler(write);
}

void NoGpuNotice::write(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && saysNoGpu(message))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    std::fflush(stderr);
}
