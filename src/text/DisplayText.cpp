#include "text/DisplayText.h"

#include "interp/Engine.h"
#include "interp/Timers.h"
#include "script/ErrorCaptions.h"
#include "script/ErrorReport.h"
#include "script/TokenReader.h"
#include "text/ClickWait.h"
#include "text/Kinsoku.h"
#include "text/Lookback.h"
#include "text/TextWindow.h"
#include "util/sjis.h"

#include <algorithm>
#include <cstdint>

namespace orv {

namespace {

uint32_t packColour(const TextColour& c) {
    return (static_cast<uint32_t>(c.red & 0xff) << 16) |
           (static_cast<uint32_t>(c.green & 0xff) << 8) | static_cast<uint32_t>(c.blue & 0xff);
}

// One call of drawDisplayText: the text, the read position in it, and what lasts only as long
// as the line.
class DisplayRun {
public:
    DisplayRun(Engine& engine, std::string_view text)
        : engine_(engine), w_(engine.text.window), text_(text) {}

    void run() {
        for (;;) {
            const char c = at(i_);
            switch (c) {
            case '\0':
                if (!endedWithPageWait_ && w_.column != 0) newLine(engine_);
                return;
            case ' ':
            case '\t':
                ++i_;
                break;
            case '!':
                inlineCommand();
                break;
            case '#':
                colour();
                break;
            case '/':
                if (at(i_ + 1) != '\0')
                    reportError(engine_, S(caption::kError),
                                S("表示文中の、/の次は改行文字でなければなりません。"));
                return;
            case '<':
                // Only digits make it a link; otherwise it is text like any other byte.
                if (isDigit(at(i_ + 1))) {
                    openLink();
                } else if (!cell()) {
                    return;
                }
                break;
            case '>':
                closeLink();
                break;
            case '@':
                ++i_;
                clickWaitHere();
                break;
            case '\\':
                ++i_;
                pageWaitHere();
                break;
            case '_':
                ++i_;
                exempt_ = true;
                break;
            default:
                if (!cell()) return;
                break;
            }
        }
    }

private:
    char at(size_t i) const { return i < text_.size() ? text_[i] : '\0'; }
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }

    // In 64 bits: locate takes any column and line, and only the bounds test of a cell decides
    // whether the pen is usable.
    int64_t penX() const { return int64_t{w_.originX} + int64_t{w_.column} * w_.pitchX; }
    int64_t penY() const { return int64_t{w_.originY} + int64_t{w_.line} * w_.pitchY; }
    // A pen far off the screen, kept for a link or a cursor, stays far off in 32 bits.
    static int clampToInt(int64_t v) {
        return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
    }

    // Decimal digits at the read position (none: 0), consumed. Wraps like 32-bit arithmetic.
    int32_t digits() {
        uint32_t value = 0;
        while (isDigit(at(i_))) value = value * 10 + uint32_t(at(i_++) - '0');
        return static_cast<int32_t>(value);
    }

    // "!dN" and "!wN" wait N ms ("!d" ends on a click), "!sN" sets the character delay and
    // "!sd" gives it back to the menu; any other "!" is dropped.
    void inlineCommand() {
        const char kind = at(i_ + 1);
        if (kind == 'd' || kind == 'w') {
            i_ += 2;
            timedWait(engine_, digits(), kind == 'd');
            return;
        }
        if (kind == 's') {
            i_ += 2;
            if (at(i_) == 'd') {
                ++i_;
                w_.characterDelay = -1;
            } else {
                w_.characterDelay = digits();
            }
            return;
        }
        ++i_;
    }

    void colour() {
        const size_t from = std::min(i_ + 1, text_.size());
        const uint32_t rgb = readColor(engine_, text_.substr(from, 6));
        w_.textColour = {static_cast<int>((rgb >> 16) & 0xff), static_cast<int>((rgb >> 8) & 0xff),
                         static_cast<int>(rgb & 0xff)};
        i_ += 7;
    }

    void openLink() {
        ++i_;
        const int number = digits();
        engine_.text.links.open(number, clampToInt(penX()), clampToInt(penY()));
        if (!w_.inLink) {
            w_.colourBeforeLink = w_.textColour;
            w_.inLink = true;
        }
        w_.textColour = w_.linkColour;
    }

    void closeLink() {
        ++i_;
        engine_.text.links.close(clampToInt(penX()));
        if (w_.inLink) {
            w_.textColour = w_.colourBeforeLink;
            w_.inLink = false;
        }
    }

    void placeCursor(int kind) {
        TextPacing& pacing = engine_.text.pacing;
        const TextCursor& cursor = pacing.cursors[static_cast<size_t>(kind - 1)];
        pacing.cursorKind = kind;
        pacing.cursorX = cursor.relative ? clampToInt(penX() + cursor.offsetX) : cursor.offsetX;
        pacing.cursorY = cursor.relative ? clampToInt(penY() + cursor.offsetY) : cursor.offsetY;
    }

    void clickWaitHere() {
        if (engine_.shell.displayMode == 1 || w_.textMode == 0) return;
        lineSkip_ = false;
        placeCursor(kClickCursor);
        clickWait(engine_);
    }

    void pageWaitHere() {
        if (w_.textMode == 0) return;
        lineSkip_ = false;
        placeCursor(kPageCursor);
        clickWait(engine_);
        appendPageBreak(engine_);
        newPage(engine_);
        endedWithPageWait_ = true;
    }

    // Draws the cell at the read position; false when the text ends in it.
    bool cell() {
        if (w_.textMode == 0)
            reportError(engine_, S(caption::kErrorBang),
                        S("textmodeが非表示設定なのに文字を書こうとしました。"));
        const int64_t penX = this->penX();
        const int64_t penY = this->penY();
        const int64_t farX = penX + w_.glyphWidth;
        const int64_t farY = penY + w_.glyphHeight;
        if (penX < 0 || penY < 0 || farX >= kScreenRight + 1 || farY >= kScreenBottom + 1 ||
            penX < w_.left || penY < w_.top || farX >= w_.right || farY >= w_.bottom)
            reportError(engine_, S(caption::kErrorBang), S("文字がウィンドウからはみ出ました"));
        // Inside the screen now.
        const int x = static_cast<int>(penX);
        const int y = static_cast<int>(penY);
        const auto first = static_cast<unsigned char>(at(i_));
        const auto second = static_cast<unsigned char>(at(i_ + 1));
        if (second == 0) return false;
        appendCharacter(engine_, static_cast<char>(first), static_cast<char>(second));
        const uint32_t start = engine_.platform.ticks();
        drawCell(engine_, x, y, first, second, packColour(w_.textColour));
        endedWithPageWait_ = false;
        i_ += 2;
        characterDelay(engine_, start, lineSkip_);

        const LookAhead ahead = lookAhead(text_, i_);
        // With a pitch of 0 the column may stand anywhere, even at the largest int; a column past
        // it is past every line's end too.
        const int64_t column = int64_t{w_.column} + 1;
        w_.column = clampToInt(column);
        if (column + kinsokuGlue(ahead) >= w_.charactersPerLine) newLine(engine_);

        // The characters of clickstr wait after themselves, once after a run of them and not
        // where the text waits anyway.
        const std::string_view list = engine_.text.pacing.clickstrList;
        const bool wait =
            !list.empty() && !exempt_ && inCharacterList(list, TwoByteChar{first, second}) &&
            !(ahead.count > 0 && inCharacterList(list, ahead.chars[0])) && !ahead.explicitWait;
        exempt_ = false;
        if (!wait) return true;
        if (w_.line < w_.lines - engine_.text.pacing.clickstrMargin)
            clickWaitHere();
        else
            pageWaitHere();
        return true;
    }

    Engine& engine_;
    TextWindow& w_;
    std::string_view text_;
    size_t i_ = 0;
    bool lineSkip_ = false;
    bool endedWithPageWait_ = false;
    bool exempt_ = false;
};

} // namespace

void drawDisplayText(Engine& engine, std::string_view line) {
    DirtyRect visible;
    if (!clipToScreen(windowRect(engine.text), visible)) return;
    if (!engine.text.window.shown) showTextWindow(engine);
    DisplayRun(engine, line).run();
}

} // namespace orv
