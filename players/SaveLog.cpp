#include "players/SaveLog.h"

Q_LOGGING_CATEGORY(saveLog, "pelliwick.saves", QtInfoMsg)
