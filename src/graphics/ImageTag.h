// The tag in front of a picture's file name, which says how the picture is drawn:
//   ":" blanks, then one mode letter: l (the top-left colour is transparent), a (each cell's right
//   half is its mask), c (opaque), #rrggbb or !n (that colour or palette index is transparent);
//   optionally "/" cells "," time-or-<list> "," loop; then ";" and the file name.
// For example ":l/3,160,2;cursor0.bmp" is three 160 ms cells that reverse at either end.
#pragma once

#include "graphics/Surface.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

struct ImageTag {
    TransMode mode = TransMode::LeftUp;
    bool keyedByColour = false; // "#rrggbb"
    bool keyedByIndex = false;  // "!n"
    uint32_t keyColour = 0;     // 0xRRGGBB
    int keyIndex = 0;
    bool animated = false; // an animation clause was given
    int cellCount = 1;
    int cellTime = 0; // -1: cellTimes applies
    std::vector<int> cellTimes;
    int loopMode = 0;
    std::string fileName;
};

enum class ImageTagProblem {
    None,
    Malformed, // a ',' or ';' missing, a short or unclosed time list, no cells
    BadColour, // "#" not followed by six hexadecimal digits
    BadLoop,   // a loop mode other than 0, 1 and 2 (tag.loopMode holds it)
};

// Splits a picture text into its tag and file name. `defaultMode` is what a text without a mode
// letter gets. On a problem `tag` is left partly filled.
ImageTagProblem parseImageTag(std::string_view text, TransMode defaultMode, ImageTag& tag);

} // namespace orv
