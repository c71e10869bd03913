// The layer stack of the screen and its recomposition.
//
// Commands never draw on the screen: they change a layer and widen the dirty rectangle; the
// effect runner then recomposes that rectangle of the composition surface from the layers, bottom
// to top: background (optionally seen through the background window), the sprites numbered above
// the boundary, the three standing pictures, the sprites at or below the boundary, the colour
// filters and finally the text window.
#pragma once

#include "graphics/Surface.h"

#include <array>
#include <string>
#include <vector>

namespace orv {

inline constexpr int kScreenRight = 639;  // last column of the screen
inline constexpr int kScreenBottom = 479; // last row of the screen

// Inclusive screen rectangle. All four zero is the empty rectangle (so the single pixel at the
// origin cannot be told from nothing; every real change covers more than that).
struct DirtyRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool empty() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    bool operator==(const DirtyRect&) const = default;
};

inline constexpr DirtyRect kWholeScreen{0, 0, kScreenRight, kScreenBottom};

// Widens `dirty` to take in the given inclusive rectangle, then clamps it to the screen on the
// sides where a picture can stick out (left and top not below 0, right and bottom not past the
// last column and row).
void markDirty(DirtyRect& dirty, int left, int top, int right, int bottom);

// The part of `rect` inside the screen, as inclusive bounds; false when nothing is left.
bool clipToScreen(const DirtyRect& rect, DirtyRect& out);

// One entry of the sprite table. The sprite commands fill the table; the composition only reads it.
struct Sprite {
    std::string name; // empty: no sprite
    Surface picture;
    int visible = 0;
    int x = 0;
    int y = 0;
};

inline constexpr int kSpriteCount = 256;

struct StandingPicture {
    Surface picture;
    std::string name; // empty: the position is empty
    int x = 0;
    int y = 0;
};

enum StandingPosition { kLeft = 0, kCentre = 1, kRight = 2 };
inline constexpr std::array<int, 3> kPositionCentres = {160, 320, 480};

// The screen rectangle the background is limited to; x == -1 means the whole screen.
struct BackgroundWindow {
    int x = -1;
    int y = 0;
    int w = 0;
    int h = 0;
    bool on() const { return x != -1; }
};

// Colour filters applied to every recomposed region (their commands live with the filters).
struct FilterState {
    int negativeMode = 0; // 0 off, 1 invert before the tint, 2 after it
    int monochrome = 0;
    int tintRed = 0;
    int tintGreen = 0;
    int tintBlue = 0;
};

struct LayerState {
    Surface background;
    std::string backgroundName;
    std::array<StandingPicture, 3> standing;
    int baseline = 480; // `underline`: survives engine resets
    int humanz = 127;
    BackgroundWindow bgalia;
    DirtyRect dirty;
    FilterState filters;
    bool textWindowInComposition = false;

    // Indexed by sprite number; may be shorter than kSpriteCount (missing entries are empty).
    std::vector<Sprite> sprites;
};

// What the redraw lays over the picture layers from outside them: the text window.
class WindowLayer {
public:
    virtual ~WindowLayer() = default;
    virtual void draw(Surface& composition, const DirtyRect& region) = 0;
};

// Draws the current cell of `picture` with its top-left corner at (x, y) into the 24-bit `dest`,
// limited to the inclusive `clip` (clamped to the screen and to `dest`). Pictures that are neither
// 24-bit nor 8-bit with a full palette are skipped, and alpha-masked pictures need 24 bits.
void drawSurface(const Surface& picture, Surface& dest, const DirtyRect& clip, int x, int y);
void drawSurface(const Surface& picture, Surface& dest, int x, int y);

// Recomposes `rect` (inclusive) of the 24-bit, screen-sized `composition` from the layers; the
// window layer comes last, when textWindowInComposition is set.
void redrawRegion(LayerState& layers, Surface& composition, const DirtyRect& rect,
                  WindowLayer* window = nullptr);

// Copies the inclusive rectangle from `src` to the same place in `dst` (both 24-bit). 8-bit
// sources go through their palette. Parts outside either surface are left alone.
void copyRect(const Surface& src, Surface& dst, const DirtyRect& rect);

} // namespace orv
