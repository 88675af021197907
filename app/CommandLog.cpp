#include "app/CommandLog.h"

#include "library/FileNameText.h"

#include <QLoggingCategory>

namespace {

Q_LOGGING_CATEGORY(commandsLog, "pelliwick.commands", QtInfoMsg)

} // namespace

bool CommandLog::done(const CommandResult& result) {
    if (!result.done())
        qCWarning(commandsLog).noquote()
            << QString::fromStdU16String(FileNameText::readable(result.reason));
    return result.done();
}
