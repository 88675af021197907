#pragma once

#include <QFont>

// The font of every window: a narrow sans-serif face at the pixel height the
// layouts were drawn for, so that captions fit their fixed bounds.
QFont WindowFont(int pixelHeight);
