// The text window on the screen: showing and hiding it, its tint, the page's text layer laid over
// every redraw, line and page breaks, and the drawing of one character cell.
#pragma once

#include "graphics/Compose.h"
#include "graphics/Effects.h"

#include <cstdint>
#include <string_view>

namespace orv {

struct Engine;
struct TextState;

// Each engine pass: the text layer and coverage mask made where missing and the definition-block
// settings of the text (link colour, speeds, clickstr, voices, the script's face) back to their
// defaults.
void startTextPass(Engine& engine);
// The reset to the start: the window's settings, pen, cursors, link table and lookback back to
// their defaults and the page cleared. Also called before a game block starts.
void resetTextToStart(Engine& engine);

// The window rectangle as inclusive screen bounds (not clipped).
DirtyRect windowRect(const TextState& text);
// The window rectangle widened by 2 pixels to the right and below (room for the shadow),
// clipped to the screen.
DirtyRect widenedWindowRect(const TextState& text);

// column 0, one line down, a line feed in the lookback; the last line passed is an error.
void newLine(Engine& engine);
// column and line 0, the page's text gone, the face the player chose taken up; a shown window
// is drawn again empty at once.
void newPage(Engine& engine);
// Takes a shown window off the screen with the window effect, whatever the erase flag says
// (setwindow, textoff).
void hideTextWindowAlways(Engine& engine);
// The same, only when the erase flag allows it (textmode, and every picture command before it
// changes the screen).
void hideTextWindowIfErasable(Engine& engine);
// Tints the inclusive rectangle of the composition with the window colour, or draws the window
// picture there; marks the window shown.
void shadeWindowArea(Engine& engine, const DirtyRect& area);
// The last step of a screen redraw: the tint and the page's text over the region.
void drawWindowLayer(Engine& engine, Surface& composition, const DirtyRect& region);
// Puts the window on the screen (redraw with the window layer, shown with the window effect).
void showTextWindow(Engine& engine);

// Carries `region` of the recomposed screen to the display and the window with an effect (the
// transitions that move the whole window get the whole screen).
void showRegion(Engine& engine, const EffectSpec& effect, const DirtyRect& region);
// The effect the text window appears and disappears with.
const EffectSpec& windowEffect(const Engine& engine);

// Draws the cell of two Shift-JIS bytes with its top-left corner at (x, y) in `colour` (0xRRGGBB):
// blended into the display surface (with the shadow when on), recorded in the text layer and
// coverage mask, and copied to the window.
void drawCell(Engine& engine, int x, int y, unsigned char first, unsigned char second,
              uint32_t colour);

// What a cell is drawn with when it is not the text window's own text (choices, menus).
struct CellStyle {
    std::string_view face; // Shift-JIS face name
    int glyphWidth = 0;
    int glyphHeight = 0;
    bool bold = false;
    bool shadow = false;
    // The cell also goes into the page's text layer and coverage (off: the display only).
    bool recordInPage = true;
};

// drawCell in the given style, touching only the pixels inside `clip` (inclusive, clipped to the
// screen), the shadow included; what is left of the cell is copied to the window.
void drawCell(Engine& engine, const CellStyle& style, const DirtyRect& clip, int x, int y,
              unsigned char first, unsigned char second, uint32_t colour);

} // namespace orv
