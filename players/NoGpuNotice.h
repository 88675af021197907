#pragma once

#include <QString>
#include <QtGlobal>

// Without a GPU the player draws in software, on purpose (see
// TShockwaveFlash::prepare). Qt and the web engine would then say at every
// start, each in its own words and some at length, that there is no OpenGL;
// the user gets one plain line of the player's log instead.
class NoGpuNotice {
public:
    // Says it, and from then on leaves out what the engine says of it.
    static void install();

private:
    static void write(QtMsgType type, const QMessageLogContext& context, const QString& message);
};
