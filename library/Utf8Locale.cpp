#include "library/Utf8Locale.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>
#include <string>

namespace {

bool readsUtf8() {
    return std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
}

} // namespace

void Utf8Locale::take() {
    // A locale the system lacks leaves the process in "C", whatever the
    // other categories name.
    const bool loaded = std::setlocale(LC_ALL, "") != nullptr;
    if (loaded && readsUtf8())
        return;
    // The locale's language and country, without its character set or
    // modifier: de_DE.ISO-8859-1 becomes de_DE.UTF-8.
    const char* current = std::setlocale(LC_CTYPE, nullptr);
    std::string same = current ? current : "C";
    same = same.substr(0, same.find_first_of(".@")) + ".UTF-8";
    for (const char* wanted : {same.c_str(), "C.UTF-8"}) {
        if (!std::setlocale(LC_CTYPE, wanted) || !readsUtf8())
            continue;
        const char* all = std::getenv("LC_ALL");
        setenv(!loaded || (all && *all) ? "LC_ALL" : "LC_CTYPE", wanted, 1);
        break;
    }
    std::setlocale(LC_ALL, "");
}
