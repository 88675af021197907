#pragma once

#include <cstdint>

// A rectangle in twips, the movie's unit: 20 twips make one pixel.
struct TwipsRect {
    std::int32_t xMin = 0;
    std::int32_t xMax = 0;
    std::int32_t yMin = 0;
    std::int32_t yMax = 0;
};
