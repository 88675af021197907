#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes a movie so that its name only ever shows the old content or the
// complete new one: the library scanner may look at the folder at any
// moment, and must never pick up half a movie. The file layer's whole write
// does the work; this gives the writer's callers its reason as a message.
class AtomicFileWriter {
public:
    // Writes bytes under path, replacing what was there. On failure returns
    // false, leaves path as it was and puts the path and the reason into
    // error.
    static bool write(const std::string& path, const std::vector<std::uint8_t>& bytes,
                      std::string& error);
};
