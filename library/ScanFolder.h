#pragma once

#include <string>
#include <vector>

// Appends one game entry (the lower-case file name without its last four
// characters) for every ".swf" or ".jpg" file in folder and, depth first, in
// its plain subfolders. Never clears entries; what cannot be read adds nothing.
void ScanFolder(const std::string& folder, std::vector<std::string>& entries);
