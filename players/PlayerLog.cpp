#include "players/PlayerLog.h"

Q_LOGGING_CATEGORY(playerLog, "pelliwick.player", QtInfoMsg)
