#include "Rgb.h"

#include <charconv>

std::optional<Rgb> Rgb::fromHex(std::string_view text) {
    if (text.size() != 6)
        return std::nullopt;
    std::uint8_t channels[3] = {};
    for (int i = 0; i < 3; ++i) {
        const char* first = text.data() + 2 * i;
        // For an unsigned channel from_chars takes neither a sign nor a "0x"
        // prefix, so both digits being consumed means both were hex digits.
        const auto [end, error] = std::from_chars(first, first + 2, channels[i], 16);
        if (error != std::errc() || end != first + 2)
            return std::nullopt;
    }
    return Rgb{channels[0], channels[1], channels[2]};
}
