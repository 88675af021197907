#include "library/CaseFolding.h"

#include "library/Utf8.h"

#include <clocale>
#include <cwctype>
#include <locale.h>

namespace {

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
        const size_t length = Utf8::decode(text.substr(i), codePoint);
        if (length == 0) {
            out += static_cast<char>(lead);
            ++i;
            continue;
        }
        const locale_t locale = unicodeLocale();
        const char32_t lowered =
            locale ? static_cast<char32_t>(towlower_l(static_cast<wint_t>(codePoint), locale))
                   : codePoint;
        Utf8::encode(lowered, out);
        i += length;
    }
    return out;
}
