#pragma once

#include "Rgb.h"

#include <cstdint>
#include <string>
#include <vector>

// The kinds of movie pelliwick-swf makes, each as complete file bytes.
// Throws std::invalid_argument for a stage size SwfWriter refuses.
class DemoMovies {
public:
    // One frame filled with color, so a screenshot of the player shows
    // whether the movie reached the screen at all.
    static std::vector<std::uint8_t> solid(Rgb color, int widthPixels, int heightPixels);

    // color until any key is pressed, keyColor from then on, so a test can
    // see that key presses reach the movie.
    static std::vector<std::uint8_t> keySwitch(Rgb color, Rgb keyColor, int widthPixels,
                                               int heightPixels);

    // color, replaced at once by the movie at url, which a relative URL names
    // beside this one: shows whether a game finds its own files.
    static std::vector<std::uint8_t> loader(Rgb color, const std::string& url, int widthPixels,
                                            int heightPixels);
    // Every key a button can react to: the printable ASCII keys and the
    // numbered special keys.
    static std::vector<std::uint8_t> allKeyCodes();
};
