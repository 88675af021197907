#pragma once

#include <string>
#include <string_view>

// Lower-casing of file names, the way the library compares and lists them.
// Names are UTF-8; bytes that are not valid UTF-8 pass through unchanged, so a
// badly encoded name still lists and sorts instead of being dropped.
class CaseFolding {
public:
    static std::string lower(std::string_view text);
};
