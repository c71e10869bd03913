// The script's own clickable screens: a picture holding the highlighted look of every button and
// the table of hot areas registered on the screen. The waits that use them live in
// ButtonCommands.
#pragma once

#include "graphics/Compose.h"
#include "graphics/Surface.h"

#include <array>
#include <cstdint>

namespace orv {

struct Button {
    int32_t value = 0; // what the wait returns when this one is clicked
    int32_t x = 0;     // the hot area on the screen
    int32_t y = 0;
    int32_t w = 0;
    int32_t h = 0;
    int32_t srcX = 0; // top-left of the highlighted look in the button source
    int32_t srcY = 0;

    // Whether (px, py) lies in the area, right and bottom edges included.
    bool contains(int px, int py) const;
    // The area as inclusive screen bounds; false when none of it is on the screen.
    bool screenArea(DirtyRect& out) const;
};

struct ButtonState {
    static constexpr int kCapacity = 256;
    // `btndef`'s picture; also the snapshot of the screen while a text-link wait runs.
    Surface source;
    std::array<Button, kCapacity> entries{};
    int count = 0;

    // The last registered button under (px, py), which lies over the earlier ones; -1 when none.
    int buttonAt(int px, int py) const;
};

// Copies a w x h block with its top-left at (sx, sy) in src to (dx, dy) in the 24-bit dst: only
// what lies inside both pictures is read and written. An 8-bit source goes through its palette.
void copyClippedBlock(const Surface& src, int sx, int sy, Surface& dst, int dx, int dy, int w,
                      int h);

// The inclusive rectangle from (left, top) to (right, bottom), given in 64 bits, clipped to the
// screen; false when nothing is left.
bool clipWideRect(int64_t left, int64_t top, int64_t right, int64_t bottom, DirtyRect& out);

} // namespace orv
