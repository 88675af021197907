#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// An opaque colour as movies store it: red, green, blue, one byte each.
struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    // Reads the six hex digits RRGGBB of the command line (either case);
    // anything else is not a colour.
    static std::optional<Rgb> fromHex(std::string_view text);
};
