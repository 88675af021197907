#pragma once

#include <string>
#include <string_view>

// The one crossing between a file name's bytes and the text the window shows.
// A name is bytes: most are UTF-8, some (unpacked from an old Windows
// archive) are not, and a game must still be listed, played, renamed, moved
// and deleted by the bytes it has on disk. Text is UTF-16, as the window's.
class FileNameText {
public:
    // The name as the user reads it: UTF-8 as it is, and a byte that is not
    // UTF-8 read as Windows' Western code page, in which such old names were
    // mostly written. Two names may read alike: never find a file by this.
    static std::u16string readable(std::string_view bytes);

    // Text that stands for the bytes exactly, and back: UTF-8 as it is, and
    // a byte that is not UTF-8 as the lone surrogate U+DC00 + byte, which no
    // valid text holds. bytes(exact(b)) == b for every b; text that exact()
    // did not make comes back as its UTF-8.
    static std::u16string exact(std::string_view bytes);
    static std::string bytes(std::u16string_view text);

    // Whether the bytes are UTF-8 throughout.
    static bool isUtf8(std::string_view bytes);
};
