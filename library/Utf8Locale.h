#pragma once

// The program's locale, made to read text as UTF-8 before Qt starts. Qt
// depends on a UTF-8 character set: in a locale of another (and with none set
// at all, "C" is ASCII) it takes a UTF-8 one for itself, and from Qt 6.8 on
// says so in four lines at every start. Taking it first, through the
// environment that Qt reads its locale from, starts the program silent in any
// locale, and what the program starts (the mail program, the browser, the
// player's engine) gets the same.
class Utf8Locale {
public:
    // Where the environment's locale reads another character set than
    // UTF-8: the same locale in UTF-8 where the system has it, "C.UTF-8"
    // otherwise, for the character set alone (LC_CTYPE); for all (LC_ALL)
    // when LC_ALL is set, which would override it, or when the system lacks
    // a locale the environment names, which would fail the whole locale.
    // Leaves the process's locale as the environment now names it.
    static void take();
};
