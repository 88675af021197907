#pragma once

#include <QLoggingCategory>

// What befalls the games' saves: a save the disk did not take, a game's
// saves that could not follow it to its new name, player settings kept
// beside them that could not be read or written, each with its reason, and
// (at debug level) each save refused to a game by the store's rules or
// bounds ("pelliwick.saves.debug=true" in QT_LOGGING_RULES).
Q_DECLARE_LOGGING_CATEGORY(saveLog)
