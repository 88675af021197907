#include "library/CaseFolding.h"

#include <clocale>
#include <cwctype>
#include <locale.h>

namespace {

// Length of the valid UTF-8 sequence at the start of text, and its code point;
// 0 when the bytes there are not valid UTF-8.
size_t decode(std::string_view text, char32_t& codePoint) {
    const auto byte = [&](size_t i) {
        return static_cast<unsigned char>(text[i]);
    };
    const unsigned char lead = byte(0);
    size_t length = 0;
    char32_t min = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, codePoint = lead & 0x1F, min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, codePoint = lead & 0x0F, min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, codePoint = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length)
        return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    if (codePoint < min || codePoint > 0x10FFFF || surrogate)
        return 0;
    return length;
}

void encode(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The program's own locale settings are never touched, so the Unicode case
// table comes from a locale object of its own rather than from the global one.
locale_t unicodeLocale() {
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
    return locale;
}

} // namespace

std::string CaseFolding::lower(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            out += (lead >= 'A' && lead <= 'Z') ? static_cast<char>(lead + ('a' - 'A'))
                                                : static_cast<char>(lead);
            ++i;
            continue;
        }
        char32_t codePoint = 0;
        const size_t length = decode(text.substr(i), codePoint);
        if (length == 0) {
            out += static_cast<char>(lead);
            ++i;
            continue;
        }
        const locale_t locale = unicodeLocale();
        const char32_t lowered =
            locale ? static_cast<char32_t>(towlower_l(static_cast<wint_t>(codePoint), locale))
                   : codePoint;
        encode(lowered, out);
        i += length;
    }
    return out;
}
