#pragma once

// How long a test waits for what should come at once before it calls it a
// hang: a ceiling, never a measure of speed, as a machine busy with other
// work may take seconds for what takes moments.
constexpr int HangMs = 30000;
