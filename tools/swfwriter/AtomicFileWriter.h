#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes a file so that its name only ever shows the old content or the
// complete new one: the library scanner may look at the folder at any
// moment, and must never pick up half a movie.
class AtomicFileWriter {
public:
    // Writes bytes to a temporary file next to path, flushes it to disk and
    // renames it onto path. On failure returns false, removes the temporary
    // file, leaves path as it was and puts the reason into error.
    static bool write(const std::string& path, const std::vector<std::uint8_t>& bytes,
                      std::string& error);
};
