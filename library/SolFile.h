#pragma once

#include <optional>
#include <string>
#include <string_view>

// Flash's own file of a save (a local shared object, ".sol"), as the engine
// writes it and the store keeps it: a header that gives the save's name, then
// its values in AMF, version 0 (older games) or 3. The user may bring one
// from anywhere; what the program takes in must be one the engine can read
// back, whole.
class SolFile {
public:
    // The name the file gives its save, when the bytes are a complete .sol
    // file: the header and its length right, and every value whole and of a
    // kind AMF knows, to the last byte. Nothing for anything else.
    static std::optional<std::string> nameOf(std::string_view bytes);
};
