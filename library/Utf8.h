#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// UTF-8 as file names hold it, one code point at a time. What is not valid
// UTF-8 (a stray byte, an overlong form, a surrogate) is left for the caller
// to take byte by byte.
class Utf8 {
public:
    // The length of the valid sequence at the start of text, and its code
    // point; 0 when the bytes there are not valid UTF-8.
    static std::size_t decode(std::string_view text, char32_t& codePoint);
    static void encode(char32_t codePoint, std::string& out);
};
