#pragma once

#include <QLoggingCategory>

// What befalls the player's page: its render process ending, the page made
// anew and why, and (at debug level) each request of a game that the
// program's scheme refused, with the reason, and what the page wrote to its
// console. QT_LOGGING_RULES turns the
// levels on and off ("pelliwick.player.debug=true").
Q_DECLARE_LOGGING_CATEGORY(playerLog)
