#include "DemoMovies.h"

#include "KeyCodes.h"
#include "SwfWriter.h"

namespace {
// Depths on the stage: the later a layer appears, the higher it sits.
constexpr std::uint16_t BaseDepth = 1;
constexpr std::uint16_t ButtonDepth = 2;
constexpr std::uint16_t KeyColorDepth = 3;
} // namespace

std::vector<std::uint8_t> DemoMovies::solid(Rgb color, int widthPixels, int heightPixels) {
    SwfWriter movie(widthPixels, heightPixels);
    movie.setBackgroundColor(color);
    // The background alone is not enough: a player embedded in a window may
    // paint its own background, and the shape is what must show.
    const std::uint16_t shape = movie.defineRectangle(movie.stage(), color);
    movie.placeObject(shape, BaseDepth);
    movie.doAction(ActionList().stop());
    movie.showFrame();
    return movie.finish();
}

std::vector<std::uint8_t> DemoMovies::keySwitch(Rgb color, Rgb keyColor, int widthPixels,
                                                int heightPixels) {
    SwfWriter movie(widthPixels, heightPixels);
    movie.setBackgroundColor(color);

    // Frame 1: the first colour, and a button that listens for every key.
    // Key conditions only fire while the button is on the stage.
    const std::uint16_t shape = movie.defineRectangle(movie.stage(), color);
    const std::uint16_t button =
        movie.defineKeyButton(shape, allKeyCodes(), ActionList().gotoFrame(1).stop());
    movie.placeObject(shape, BaseDepth);
    movie.placeObject(button, ButtonDepth);
    movie.doAction(ActionList().stop());
    movie.showFrame();

    // Frame 2: the key colour over everything from frame 1.
    const std::uint16_t keyShape = movie.defineRectangle(movie.stage(), keyColor);
    movie.placeObject(keyShape, KeyColorDepth);
    movie.doAction(ActionList().stop());
    movie.showFrame();
    return movie.finish();
}

std::vector<std::uint8_t> DemoMovies::loader(Rgb color, const std::string& url, int widthPixels,
                                             int heightPixels) {
    SwfWriter movie(widthPixels, heightPixels);
    movie.setBackgroundColor(color);
    const std::uint16_t shape = movie.defineRectangle(movie.stage(), color);
    movie.placeObject(shape, BaseDepth);
    movie.doAction(ActionList().getUrl(url, "_level0").stop());
    movie.showFrame();
    return movie.finish();
}

std::vector<std::uint8_t> DemoMovies::allKeyCodes() {
    using namespace KeyCodes;
    std::vector<std::uint8_t> codes = {Left,  Right, Home, End,    Insert,   Delete, Backspace,
                                       Enter, Up,    Down, PageUp, PageDown, Tab,    Escape};
    for (int code = FirstPrintable; code <= LastPrintable; ++code)
        codes.push_back(static_cast<std::uint8_t>(code));
    return codes;
}
