// Everything the text side of the engine keeps: the text window's settings and pen, the page's
// text layer and coverage mask, the link table, the lookback record, the pacing of the text
// (speeds, cursors, automatic click waits) and the glyph cells. One instance lives in the Engine.
#pragma once

#include "graphics/Surface.h"
#include "text/GlyphCache.h"
#include "text/Lookback.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace orv {

struct TextColour {
    int red = 255;
    int green = 255;
    int blue = 255;
    bool operator==(const TextColour&) const = default;
};

inline constexpr TextColour kDefaultTextColour{255, 255, 255};
inline constexpr TextColour kDefaultLinkColour{255, 255, 64};
inline constexpr uint32_t kDefaultWindowColour = 0x999999;

// The face every game starts with, as the engine keeps it (Shift-JIS "ＭＳ ゴシック").
inline constexpr std::string_view kDefaultFaceSjis = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62"
                                                     "\x83\x4e";

struct TextWindow {
    int originX = 8; // top-left corner of the first cell
    int originY = 16;
    int charactersPerLine = 23;
    int lines = 16;
    int glyphWidth = 26;
    int glyphHeight = 26;
    int pitchX = 26; // glyph size + spacing
    int pitchY = 28;
    int characterDelay = 20; // ms after each character; -1 = the menu's speed
    int bold = 1;
    int shadow = 1;
    int windowColour = static_cast<int>(kDefaultWindowColour); // -1: the window is a picture
    Surface windowPicture;
    std::string windowPictureName;
    // The window rectangle; right and bottom are its last column and row.
    int left = 0;
    int top = 0;
    int right = 640;
    int bottom = 480;
    int column = 0; // where the next character goes, in cells
    int line = 0;
    TextColour textColour = kDefaultTextColour;
    TextColour linkColour = kDefaultLinkColour; // set by each engine pass, not the reset
    // Between '<' and '>' the text is drawn in the link colour; this is what '>' goes back to.
    TextColour colourBeforeLink = kDefaultTextColour;
    bool inLink = false;
    std::string currentFace = std::string(kDefaultFaceSjis); // the face glyphs are drawn in
    std::string chosenFace = std::string(kDefaultFaceSjis);  // `game` or the font menu
    std::string scriptFace = std::string(kDefaultFaceSjis);  // `defaultfont`
    int textMode = 1;  // 0: display text is an error and the window is not drawn
    int eraseFlag = 1; // `erasetextwindow`: whether hiding commands really remove the window
    bool shown = false;
    // Whether the window is drawn in the composition lives with the layers
    // (LayerState::textWindowInComposition), which the screen redraw reads.
};

struct TextLink {
    int number = 0;
    int left = 0;
    int top = 0;
    int right = 0;
};

// The links of the current text, read by the text-button wait. Its 256 entries are all a page
// can have: a link past them is drawn in the link colour but not recorded.
struct TextLinkTable {
    static constexpr int kCapacity = 256;
    std::array<TextLink, kCapacity> entries{};
    int count = 0;

    // '<n': fills number, left and top of the next entry; false (nothing written) when full.
    bool open(int number, int left, int top);
    // '>': fills the right edge of the next entry and counts it; false when full.
    bool close(int right);
    void clear() { count = 0; }
};

struct TextCursor {
    Surface picture;
    std::string name;     // the picture text given by setcursor; empty for the default
    bool relative = true; // placed after the last character rather than at a fixed point
    int offsetX = 0;
    int offsetY = 0;
};

inline constexpr std::string_view kDefaultCursorText[2] = {":l/3,160,2;cursor0.bmp",
                                                           ":l/3,160,2;cursor1.bmp"};

// Cursor kinds of a click wait.
enum CursorKind { kNoCursor = 0, kClickCursor = 1, kPageCursor = 2 };

struct TextPacing {
    std::array<int, 3> speedTable = {40, 10, 0}; // slow, normal, fast (`defaultspeed`)
    std::array<TextCursor, 2> cursors;
    int cursorKind = kNoCursor; // the cursor of the wait in progress
    int cursorX = 0;
    int cursorY = 0;
    Surface savedArea; // the display under the cursor
    int autoclickTime = 0;
    std::string clickstrList; // two-byte characters after which a click wait is inserted
    int clickstrMargin = 0;
    std::string clickVoice; // played when a click wait ends
    std::string pageVoice;  // played when a page wait ends
    // Set while `click` waits: a right click then does nothing.
    bool rightClickOff = false;
};

struct TextState {
    TextWindow window;
    // The page's text: colour times coverage per pixel, and the coverage itself (640 x 480,
    // top row first), so that any redraw of the screen repaints the page.
    Surface textLayer;
    std::vector<uint8_t> coverage;
    TextLinkTable links;
    LookbackStore lookback;
    TextPacing pacing;
    GlyphCache glyphs;
};

} // namespace orv
