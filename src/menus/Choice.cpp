#include "menus/Choice.h"

#include "graphics/GraphicsCommands.h"
#include "interp/Engine.h"
#include "menus/KeyboardHighlight.h"
#include "menus/RightClickMenu.h"
#include "script/ErrorCaptions.h"
#include "script/ErrorReport.h"
#include "shell/PickPoints.h"
#include "shell/Wait.h"
#include "sound/SoundPlayback.h"
#include "text/AutoForward.h"
#include "text/ClickWait.h"
#include "text/TextWindow.h"
#include "util/sjis.h"

#include <algorithm>
#include <string>
#include <vector>

namespace orv {

namespace {

bool overlaps(const DirtyRect& a, const DirtyRect& b) {
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

// The cell's rectangle one pixel wider and higher (where the shadow falls), on the screen.
bool cellArea(const ChoiceForm& form, int x, int y, DirtyRect& out) {
    return clipToScreen({x, y, x + form.glyphWidth, y + form.glyphHeight}, out);
}

// Puts the composition's (recomposed, for the choice form) pixels of the cell's area on the
// display, then the glyph over them.
void drawChoiceCell(Engine& engine, const ChoiceForm& form, const DirtyRect& clip, int x, int y,
                    unsigned char first, unsigned char second, uint32_t colour) {
    GraphicsState& g = engine.graphics;
    DirtyRect area;
    if (cellArea(form, x, y, area)) {
        if (!form.menu) redrawRegion(engine, area);
        copyRect(g.surfaces.composition, g.surfaces.display, area);
    }
    const CellStyle style{engine.text.window.currentFace, form.glyphWidth, form.glyphHeight,
                          form.bold, form.shadow};
    drawCell(engine, style, clip, x, y, first, second, colour);
}

} // namespace

ChoiceForm choiceForm(const Engine& engine) {
    const TextWindow& w = engine.text.window;
    const ChoiceState& choices = engine.choices;
    ChoiceForm form;
    form.glyphWidth = w.glyphWidth;
    form.glyphHeight = w.glyphHeight;
    form.pitchX = w.pitchX;
    form.pitchY = w.pitchY;
    form.bold = w.bold != 0;
    form.shadow = w.shadow != 0;
    form.highlighted = choices.highlightedColour;
    form.normal = choices.normalColour;
    form.shownVoice = choices.shownVoice;
    form.movedVoice = choices.movedVoice;
    form.decidedVoice = choices.decidedVoice;
    return form;
}

int choiceKinsokuGlue(const LookAhead& ahead) {
    int n = 0;
    while (ahead.count - n >= 2) {
        const int m = n;
        bool matched = false;
        if (isLineEndForbidden(ahead.chars[static_cast<size_t>(m)])) {
            ++n;
            matched = true;
        }
        if (isLineStartForbidden(ahead.chars[static_cast<size_t>(m + 1)])) {
            ++n;
            continue;
        }
        if (!matched) break;
    }
    return n;
}

int drawChoiceText(Engine& engine, const ChoiceForm& form, std::string_view text, int& column,
                   int& line, uint32_t colour) {
    const TextWindow& w = engine.text.window;
    auto byteAt = [&](size_t i) {
        return i < text.size() ? static_cast<unsigned char>(text[i]) : uint8_t{0};
    };

    if (form.menu) {
        int64_t x = column;
        for (size_t i = 0; byteAt(i) != 0;) {
            const unsigned char first = byteAt(i);
            if (first == ' ' || first == '\t') {
                ++i;
                continue;
            }
            const unsigned char second = byteAt(i + 1);
            // Only cells the screen can show are drawn (and their glyphs made).
            if (x > -int64_t{form.glyphWidth} && x <= kScreenRight &&
                line > -int64_t{form.glyphHeight} && line <= kScreenBottom &&
                form.glyphWidth <= kScreenRight + 1 && form.glyphHeight <= kScreenBottom + 1)
                drawChoiceCell(engine, form, kWholeScreen, static_cast<int>(x), line, first, second,
                               colour);
            i += second != 0 ? 2 : 1;
            x += form.pitchX;
        }
        return 0;
    }

    DirtyRect clip;
    const bool windowOnScreen = clipToScreen(windowRect(engine.text), clip);
    int drawn = 0;
    for (size_t i = 0; byteAt(i) != 0;) {
        const unsigned char first = byteAt(i);
        if (first == ' ' || first == '\t') {
            ++i;
            continue;
        }
        const unsigned char second = byteAt(i + 1);
        const int x = w.originX + column * form.pitchX;
        const int y = w.originY + line * form.pitchY;
        // Wrapping cannot bring a cell below the window back into it: stop here rather than
        // retry the same character for ever.
        const DirtyRect cell{x, y, x + form.glyphWidth - 1, y + form.glyphHeight - 1};
        if (!windowOnScreen || !overlaps(cell, clip))
            reportError(engine, S(caption::kErrorBang), S("文字がウィンドウからはみ出ました"));
        drawChoiceCell(engine, form, clip, x, y, first, second, colour);
        i += second != 0 ? 2 : 1;
        ++column;
        if (drawn < w.charactersPerLine) ++drawn;
        if (column + choiceKinsokuGlue(lookAhead(text, i)) >= w.charactersPerLine) {
            column = 0;
            ++line;
        }
    }
    if (column != 0) {
        column = 0;
        ++line;
    }
    return drawn;
}

int choiceAt(const TextWindow& window, int startColumn, int widest, std::span<const int> firstLines,
             int x, int y) {
    const int left = window.originX + startColumn * window.pitchX;
    const int right = window.originX + (startColumn + widest) * window.pitchX;
    if (x <= left || x > right) return -1;
    int hit = -1;
    for (size_t j = 0; j + 1 < firstLines.size(); ++j) {
        if (window.originY + firstLines[j] * window.pitchY <= y &&
            y < window.originY + firstLines[j + 1] * window.pitchY)
            hit = static_cast<int>(j);
    }
    return hit;
}

// Half the width of the entries; a pitch and length the int range cannot hold are kept inside it.
int64_t menuHalfWidth(const ChoiceForm& form, int longest) {
    return std::clamp<int64_t>(int64_t{form.pitchX} * longest / 4, kScreenCentreX - INT32_MAX,
                               INT32_MAX - kScreenCentreX);
}

int menuEntryX(const ChoiceForm& form, int longest) {
    return static_cast<int>(kScreenCentreX - menuHalfWidth(form, longest));
}

int menuEntryY(const ChoiceForm& form, int count, int i) {
    return static_cast<int>(std::clamp<int64_t>(
        kScreenCentreY - (int64_t{count / 2} - i) * form.pitchY, INT32_MIN, INT32_MAX));
}

int menuEntryAt(const ChoiceForm& form, int longest, int count, int x, int y) {
    const int64_t halfWidth = menuHalfWidth(form, longest);
    if (x < kScreenCentreX - halfWidth || x >= kScreenCentreX + halfWidth) return -1;
    for (int j = 0; j < count; ++j) {
        const int64_t top = menuEntryY(form, count, j);
        if (top <= y && y < top + form.pitchY) return j;
    }
    return -1;
}

int runChoice(Engine& engine, const ChoiceForm& form, int startColumn, int startLine,
              std::span<const std::string> texts) {
    Platform& platform = engine.platform;
    ShellState& shell = engine.shell;
    GraphicsState& g = engine.graphics;
    const int count = static_cast<int>(texts.size());

    playVoice(engine, form.shownVoice);
    shell.skipMode = false;
    stopPlayerModes(engine);
    int highlighted = -1;

    if (!form.menu) {
        const bool wasShown = engine.text.window.shown;
        g.layers.textWindowInComposition = true;
        redrawRegion(engine, kWholeScreen);
        showRegion(engine, wasShown ? EffectSpec{1, 0, {}} : windowEffect(engine), kWholeScreen);
    } else if (form.showBackdrop) {
        form.showBackdrop(engine);
    } else {
        redrawRegion(engine, kWholeScreen);
        showRegion(engine, EffectSpec{1, 0, {}}, kWholeScreen);
    }

    // Choice form: the line each choice starts on, and the line after the last. Menu form: the
    // longest entry in bytes decides where the entries go.
    std::vector<int> firstLines(texts.size() + 1, 0);
    int widest = 0;
    int longest = 0;
    for (const std::string& t : texts) longest = std::max(longest, static_cast<int>(t.size()));

    auto draw = [&](int i, uint32_t colour) {
        const std::string& t = texts[static_cast<size_t>(i)];
        if (form.menu) {
            int x = menuEntryX(form, longest);
            int y = menuEntryY(form, count, i);
            drawChoiceText(engine, form, t, x, y, colour);
            return 0;
        }
        int column = startColumn;
        int line = firstLines[static_cast<size_t>(i)];
        return drawChoiceText(engine, form, t, column, line, colour);
    };

    int line = startLine;
    for (int i = 0; i < count; ++i) {
        if (form.menu) {
            draw(i, form.normal);
            continue;
        }
        firstLines[static_cast<size_t>(i)] = line;
        int column = startColumn;
        widest = std::max(widest, drawChoiceText(engine, form, texts[static_cast<size_t>(i)],
                                                 column, line, form.normal));
    }
    firstLines[texts.size()] = line;

    auto hitAt = [&](int x, int y) {
        return form.menu ? menuEntryAt(form, longest, count, x, y)
                         : choiceAt(engine.text.window, startColumn, widest, firstLines, x, y);
    };
    auto highlight = [&](int hit) {
        playVoice(engine, form.movedVoice);
        if (highlighted >= 0) draw(highlighted, form.normal);
        draw(hit, form.highlighted);
        highlighted = hit;
    };
    // The highlight follows the pointer (whose position is unknown until a mouse message came).
    auto follow = [&](int x, int y) {
        const int hit = x < 0 && y < 0 ? -1 : hitAt(x, y);
        if (hit >= 0 && hit != highlighted) {
            highlight(hit);
        } else if (hit < 0 && highlighted >= 0) {
            draw(highlighted, form.normal);
            highlighted = -1;
        }
    };

    // What the player did before the choices appeared does not take one.
    platform.discardEvents(EventKind::LButtonUp);
    platform.discardEvents(EventKind::Char);
    shell.clickFlag = false;
    shell.rightClickFlag = false;
    // The choice under the pointer is highlighted without waiting for it to move.
    follow(shell.mouseX, shell.mouseY);

    const OfferedPicks picks(shell, count, hitAt);
    WaitRule rule;
    rule.kind = WaitKind::Player;
    rule.virtualStepMs = 1;
    rule.unwindOnReset = true;
    rule.animatesCells = !form.menu;
    int taken = -1;
    waitUntil(engine, rule, [&](const Event* event) {
        if (!event) return false;
        if (event->kind == EventKind::MouseMove) follow(shell.mouseX, shell.mouseY);
        if (const int step = highlightStep(event); step != 0 && count > 0) {
            const int next = steppedEntry(highlighted, step, count);
            if (next != highlighted) highlight(next);
        }
        if (shell.clickFlag) {
            shell.clickFlag = false;
            if (highlighted >= 0) {
                playVoice(engine, form.decidedVoice);
                draw(highlighted, form.normal);
                taken = highlighted;
                return true;
            }
            // --auto-click has nothing better to offer: the run can never get past this choice.
            if (event->kind == EventKind::LButtonUp && event->code == kAutomaticClick)
                throw ExitRequest{3,
                                  "input exhausted: a choice waits, and the automatic click at (" +
                                      std::to_string(event->x) + ", " + std::to_string(event->y) +
                                      ") is on none of its " + std::to_string(count) + " entries"};
            // A click beside the choices takes none; the clock runs on, so that a stream of
            // such clicks cannot hold it still.
            platform.sleep(1);
        }
        if (shell.rightClickFlag) {
            shell.rightClickFlag = false;
            if (form.menu) playVoice(engine, form.closingVoice);
            if (highlighted >= 0) draw(highlighted, form.normal);
            if (form.menu) return true;
            rightClickHandler(engine, kRightClick);
            // The pointer may have moved while the handler ran: highlight what is under it now.
            highlighted = -1;
            follow(shell.mouseX, shell.mouseY);
        }
        if (!form.menu && isWheelUp(event) && wheelLookback(engine)) {
            highlighted = -1;
            follow(shell.mouseX, shell.mouseY);
        }
        return false;
    });
    return taken;
}

} // namespace orv
