#pragma once

#include "library/GameEntries.h"

#include <string>

// Appends one game entry (the lower-case file name without its last four
// characters, and the subfolder it lies in) for every ".swf" or ".jpg" file in
// folder and, depth first, in its plain subfolders. Never clears entries; what
// cannot be read adds nothing.
void ScanFolder(const std::string& folder, GameEntries& entries);
