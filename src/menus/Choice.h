// The choice loop: texts shown one under the other, the one under the pointer highlighted, the
// one clicked returned.
//
// The same loop serves two forms. The choice form draws into the text window at text cells and
// is what select, selgosub and selnum use. The menu form draws centred on a darkened screen at
// pixel positions with settings of its own; the right-click menu fills in those settings and its
// backdrop.
#pragma once

#include "text/Kinsoku.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace orv {

struct Engine;
struct TextWindow;

struct ChoiceForm {
    bool menu = false;
    // Glyph size, distance between cells, bold and shadow.
    int glyphWidth = 0;
    int glyphHeight = 0;
    int pitchX = 0;
    int pitchY = 0;
    bool bold = false;
    bool shadow = false;
    // 0xRRGGBB
    uint32_t highlighted = 0;
    uint32_t normal = 0;
    // WAV names (empty: none) for when the choices appear, the highlight moves, a choice is
    // taken and (menu form) the menu is closed.
    std::string shownVoice;
    std::string movedVoice;
    std::string decidedVoice;
    std::string closingVoice;
    // Menu form: puts the backdrop the entries are drawn on onto the screen. Without it the
    // screen is redrawn as it is and shown at once.
    std::function<void(Engine&)> showBackdrop;
};

// The choice form of the choice commands: the text window's glyphs and the `selectcolor` and
// `selectvoice` settings.
ChoiceForm choiceForm(const Engine& engine);

// Draws one choice text in `colour` and returns how many characters it drew, at most the text
// window's characters per line (0 in menu form).
//
// Choice form: (column, line) is a text cell of the window, advanced past the text: wrapped lines
// begin at column 0 and a text that ends inside a line moves on to the next one. Each cell is
// first recomposed from the layers (so a new colour replaces the old glyph), and its pixels are
// limited to the window. A cell wholly outside the window is a scenario error.
// Menu form: (column, line) is the pixel position of the first cell; the pen only moves right and
// the arguments are left as they are.
//
// Spaces and tabs are passed over; every other byte begins a two-byte cell (a lone last byte is a
// cell of its own). Nothing is recorded in the lookback.
int drawChoiceText(Engine& engine, const ChoiceForm& form, std::string_view text, int& column,
                   int& line, uint32_t colour);

// Shows the texts and waits until one is taken; returns its index, or -1 in the menu form when a
// right click closed the menu. A reset requested during the wait unwinds (ResetRequest). Choice
// form: the first text starts at (startColumn, startLine), every text at startColumn.
int runChoice(Engine& engine, const ChoiceForm& form, int startColumn, int startLine,
              std::span<const std::string> texts);

// The line-breaking rule of choice texts: how many characters after the next one must go to its
// line with it. An opening bracket and a closing mark right after it count two in one step.
int choiceKinsokuGlue(const LookAhead& ahead);

// Choice form: the choice under (x, y), -1 for none (the last one hit wins). firstLines holds the
// line each choice starts on and, last, the line after the last choice; widest is the largest
// count drawChoiceText returned.
int choiceAt(const TextWindow& window, int startColumn, int widest, std::span<const int> firstLines,
             int x, int y);

// Menu form: where entry i of count entries goes when the longest is `longest` bytes, and which
// entry (x, y) lies on (-1 for none).
int menuEntryX(const ChoiceForm& form, int longest);
int menuEntryY(const ChoiceForm& form, int count, int i);
int menuEntryAt(const ChoiceForm& form, int longest, int count, int x, int y);

} // namespace orv
