// Where the menu strip and the 640x480 picture sit in the window's pixels, and
// how a pointer position there maps back to game coordinates. Kept free of SDL
// so the arithmetic can be checked on its own.
#pragma once

#include <string_view>
#include <vector>

namespace orv {

// Height of the strip above the picture that the menu bar is drawn in, in
// unscaled pixels; the strip is scaled with the picture in a window.
constexpr int kMenuBarHeight = 20;

struct PixelRect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    bool contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

struct SdlLayout {
    PixelRect menuStrip; // empty in full screen
    PixelRect game;      // the picture, 4:3, centred in what is left below the strip
    // The picture is a whole multiple of 640x480: sampled nearest-neighbour,
    // otherwise smoothed.
    bool wholeScale = false;
};

// The placement for an output of the given size with a strip of stripHeight
// pixels at the top (0 in full screen). The picture gets the largest 4:3
// rectangle that fits below the strip; the rest is letterbox.
SdlLayout computeLayout(int outputWidth, int outputHeight, int stripHeight);

// The largest whole scale, 1 to 8, at which a window (the picture and its strip) fits a
// desktop area of the given size with room left for the window's frame and title bar.
int fittingScale(int desktopWidth, int desktopHeight);

// The whole scale a window of the given inner size shows (at least 1).
int scaleOfWindow(int windowWidth, int windowHeight);

enum class PointerArea {
    Game,      // on the picture
    MenuStrip, // over the menu bar's strip: y is -kMenuBarHeight..-1, x clamped to the picture
    Outside,   // letterbox or beyond the window: clamped to the nearest picture pixel
};

struct GamePoint {
    int x = 0;
    int y = 0;
    PointerArea area = PointerArea::Outside;
};

// Output pixel -> 640x480 game coordinates.
GamePoint mapToGame(const SdlLayout& layout, int px, int py);

// Unicode code points of a UTF-8 text as text input delivers it; malformed
// sequences, surrogates and overlong forms are dropped rather than guessed at.
std::vector<char32_t> decodeUtf8(std::string_view text);

} // namespace orv
