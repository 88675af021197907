#include "library/FileNameText.h"

#include "library/Utf8.h"

namespace {

// Windows' Western code page where it differs from Latin-1 (0x80 to 0x9F);
// its five unassigned bytes read as Latin-1's control characters.
constexpr char16_t Western[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void append(char32_t codePoint, std::u16string& text) {
    if (codePoint < 0x10000) {
        text += char16_t(codePoint);
    } else {
        text += char16_t(0xD800 + ((codePoint - 0x10000) >> 10));
        text += char16_t(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
    }
}

// The bytes as text, each byte that is not UTF-8 as stray(byte).
template <typename Stray> std::u16string decode(std::string_view bytes, Stray stray) {
    std::u16string text;
    text.reserve(bytes.size());
    while (!bytes.empty()) {
        char32_t codePoint = 0;
        std::size_t length = Utf8::decode(bytes, codePoint);
        if (length == 0) {
            codePoint = stray(static_cast<unsigned char>(bytes[0]));
            length = 1;
        }
        append(codePoint, text);
        bytes.remove_prefix(length);
    }
    return text;
}

} // namespace

std::u16string FileNameText::readable(std::string_view bytes) {
    return decode(bytes, [](unsigned char byte) -> char32_t {
        return byte >= 0x80 && byte < 0xA0 ? Western[byte - 0x80] : byte;
    });
}

std::u16string FileNameText::exact(std::string_view bytes) {
    return decode(bytes, [](unsigned char byte) -> char32_t { return 0xDC00 + byte; });
}

std::string FileNameText::bytes(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        const bool high = unit >= 0xD800 && unit < 0xDC00;
        const bool low = unit >= 0xDC00 && unit < 0xE000;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            Utf8::encode(0x10000 + ((char32_t(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00),
                         bytes);
            ++i;
        } else if (low && unit >= 0xDC80 && unit < 0xDD00) {
            bytes += char(unit - 0xDC00);
        } else if (high || low) {
            Utf8::encode(0xFFFD, bytes); // a stray surrogate, no name's
        } else {
            Utf8::encode(unit, bytes);
        }
    }
    return bytes;
}

bool FileNameText::isUtf8(std::string_view bytes) {
    while (!bytes.empty()) {
        char32_t codePoint = 0;
        const std::size_t length = Utf8::decode(bytes, codePoint);
        if (length == 0)
            return false;
        bytes.remove_prefix(length);
    }
    return true;
}
