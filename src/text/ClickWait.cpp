#include "text/ClickWait.h"

#include "graphics/GraphicsCommands.h"
#include "interp/Engine.h"
#include "menus/RightClickMenu.h"
#include "shell/Wait.h"
#include "sound/SoundPlayback.h"
#include "text/AutoForward.h"
#include "text/ReadMarks.h"
#include "text/TextWindow.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace orv {

namespace {

// Copies a w x h block between two 24-bit surfaces, top-left corners given in each; only the
// part inside both is copied.
void copyBlock(const Surface& src, int sx, int sy, Surface& dst, int dx, int dy, int w, int h) {
    if (src.bitsPerPixel != 24 || dst.bitsPerPixel != 24) return;
    for (int j = 0; j < h; ++j) {
        const int ys = sy + j;
        const int yd = dy + j;
        if (ys < 0 || ys >= src.height || yd < 0 || yd >= dst.height) continue;
        int i0 = std::max({0, -sx, -dx});
        int i1 = std::min({w, src.width - sx, dst.width - dx});
        if (i1 <= i0) continue;
        std::memcpy(dst.row(yd) + static_cast<size_t>(dx + i0) * 3,
                    src.row(ys) + static_cast<size_t>(sx + i0) * 3,
                    static_cast<size_t>(i1 - i0) * 3);
    }
}

void presentDisplay(Engine& engine, const DirtyRect& rect) {
    DirtyRect r;
    if (!clipToScreen(rect, r)) return;
    copyToWindow(engine.graphics.surfaces.display, engine.platform.window(), r);
    engine.platform.present(toPlatformRect(r));
}

// The cursor of a click wait: the display under it is kept aside, and each change of its cell
// puts that back and draws the new cell.
class CursorDrawer final : public CellAnimation {
public:
    CursorDrawer(Engine& engine, int kind)
        : engine_(engine), kind_(kind),
          picture_(engine.text.pacing.cursors[static_cast<size_t>(kind - 1)].picture),
          x_(engine.text.pacing.cursorX), y_(engine.text.pacing.cursorY) {
        w_ = displayedWidth(picture_) + 1;
        h_ = picture_.height + 1;
        Surface& saved = engine.text.pacing.savedArea;
        createSurface(saved, std::max(w_, 1), std::max(h_, 1), 24);
        copyBlock(engine.graphics.surfaces.display, x_, y_, saved, 0, 0, w_, h_);
    }

    void tick() override {
        Surface& pic = picture_;
        if (pic.cellCount < 2) return;
        const uint32_t now = engine_.platform.ticks();
        if (static_cast<int64_t>(now - pic.lastCellTime) <= cellTime()) return;
        pic.currentCell += pic.cellStep;
        if (pic.currentCell < 0 || pic.currentCell >= pic.cellCount) {
            if (pic.loopMode == 1) {
                pic.currentCell = pic.cellCount - 1;
                pic.lastCellTime = now;
                return;
            }
            if (pic.loopMode == 2) {
                pic.cellStep = -pic.cellStep;
                pic.currentCell += 2 * pic.cellStep;
            } else {
                pic.currentCell = 0;
            }
        }
        restore();
        drawSurface(pic, engine_.graphics.surfaces.display,
                    DirtyRect{x_, y_, x_ + w_ - 2, y_ + h_ - 2}, x_, y_);
        presentDisplay(engine_, area());
        pic.lastCellTime = now;
    }

    uint32_t msUntilNextCell() override {
        const Surface& pic = picture_;
        if (pic.cellCount < 2) return kIdleForever;
        const int64_t left =
            int64_t{cellTime()} + 1 - (engine_.platform.ticks() - pic.lastCellTime);
        return left <= 0 ? 0 : static_cast<uint32_t>(std::min<int64_t>(left, kIdleForever));
    }

    void restore() {
        copyBlock(engine_.text.pacing.savedArea, 0, 0, engine_.graphics.surfaces.display, x_, y_,
                  w_, h_);
    }
    DirtyRect area() const { return {x_, y_, x_ + w_ - 1, y_ + h_ - 1}; }
    int kind() const { return kind_; }

private:
    // How long the current cell stays.
    int cellTime() const {
        const Surface& pic = picture_;
        if (pic.cellTime != -1) return pic.cellTime;
        const auto cell = static_cast<size_t>(std::max(pic.currentCell, 0));
        return cell < pic.cellTimes.size() ? pic.cellTimes[cell] : 0;
    }

    Engine& engine_;
    int kind_;
    Surface& picture_;
    int x_, y_, w_ = 0, h_ = 0;
};

} // namespace

void characterDelay(Engine& engine, uint32_t start, bool& lineSkip) {
    Platform& platform = engine.platform;
    ShellState& shell = engine.shell;
    const TextPacing& pacing = engine.text.pacing;
    int delay = engine.text.window.characterDelay;
    if (delay == -1)
        delay = pacing.speedTable[static_cast<size_t>(std::clamp(shell.speedIndex, 0, 2))];
    const uint32_t deadline = start + static_cast<uint32_t>(delay);
    if (clockReached(platform.ticks(), deadline) || lineSkip || shell.skipMode ||
        skippingReadText(engine))
        return;
    WaitRule rule;
    rule.deadline = deadline;
    waitUntil(engine, rule, [&](const Event* event) {
        lineSkip = event && event->kind == EventKind::LButtonUp;
        return lineSkip;
    });
}

namespace {

// Past auto-forward's delay only a voice holds the text: how often it is asked whether it ended.
constexpr uint32_t kVoicePollMs = 20;

// Marks the span of a click wait, where Tab starts the skipping of read text (elsewhere, at a
// choice or a menu, Tab moves between the entries).
class TextWaitScope {
public:
    explicit TextWaitScope(PlayerState& player) : player_(player) { player_.atTextWait = true; }
    ~TextWaitScope() { player_.atTextWait = false; }
    TextWaitScope(const TextWaitScope&) = delete;
    TextWaitScope& operator=(const TextWaitScope&) = delete;

private:
    PlayerState& player_;
};

} // namespace

void clickWait(Engine& engine) {
    Platform& platform = engine.platform;
    ShellState& shell = engine.shell;
    PlayerState& player = engine.player;
    TextPacing& pacing = engine.text.pacing;
    // What the player did before the wait does not end it.
    pumpPending(engine);
    platform.discardEvents(EventKind::LButtonUp);
    platform.discardEvents(EventKind::Char);
    shell.clickFlag = false;
    shell.rightClickFlag = false;
    // Tab's skipping stops at the wait of a line not read before.
    if (!player.lineRead) player.tabSkip = false;
    const bool tabSkipBefore = player.tabSkip;
    TextWaitScope textWait(player);

    std::optional<CursorDrawer> cursor;
    if (pacing.cursorKind != kNoCursor) cursor.emplace(engine, pacing.cursorKind);
    const uint32_t start = platform.ticks();
    const bool autoclick = shell.autoclickMode;
    auto skipping = [&] { return shell.skipMode || skippingReadText(engine); };
    // One wait per state of auto-forward: switching it on or off during the wait starts a wait
    // with the other rule (the same cursor, the same start).
    for (bool voiceHolds = false;;) {
        const bool forward = player.autoForward && !autoclick;
        WaitRule rule;
        // In skip mode the wait ends by itself: it does not wait for the player.
        rule.kind = autoclick || forward ? WaitKind::PlayerOrTime
                    : skipping()         ? WaitKind::None
                                         : WaitKind::Player;
        // A wait for a person idles a little when nothing is happening. An autoclick wait is a
        // pause whatever the player does, so its time runs on however busy the input.
        rule.virtualStepMs = 1;
        rule.idleAfterEvent = autoclick;
        rule.unwindOnReset = true;
        if (cursor) rule.cells = &*cursor;
        if (autoclick) {
            rule.deadline = start + static_cast<uint32_t>(pacing.autoclickTime);
            if (clockReached(start, *rule.deadline)) break;
        } else if (forward && !voiceHolds) {
            rule.deadline = start + autoForwardDelay(engine);
        } else if (forward) {
            rule.maxIdleMs = kVoicePollMs;
        }
        bool modeChanged = false;
        const bool done = waitUntil(engine, rule, [&](const Event* event) {
            if (autoclick) return false;
            if (shell.clickFlag) {
                shell.clickFlag = false;
                return true;
            }
            // Tab pressed here: this wait is the first one skipped.
            if (skipping() || (player.tabSkip && !tabSkipBefore)) return true;
            if (shell.rightClickFlag) {
                shell.rightClickFlag = false;
                // The right-click menu's own keys take Tab there.
                player.atTextWait = false;
                rightClickHandler(engine, kRightClick);
                player.atTextWait = true;
            }
            if (isWheelUp(event)) wheelLookback(engine);
            if (player.autoForward != forward) {
                modeChanged = true;
                return true;
            }
            return forward && voiceHolds && !voicePlaying(engine);
        });
        if (modeChanged) {
            voiceHolds = false;
            continue;
        }
        // The deadline passed: autoclick's time, or auto-forward's delay, after which only a
        // voice still speaking holds the text.
        if (done || autoclick || !voicePlaying(engine)) break;
        voiceHolds = true;
    }
    player.charactersSinceWait = 0;
    if (!skipping())
        playVoice(engine, pacing.cursorKind == kPageCursor ? pacing.pageVoice : pacing.clickVoice);
    if (cursor) {
        cursor->restore();
        presentDisplay(engine, cursor->area());
        pacing.cursorKind = kNoCursor;
    }
}

void hideWindowUntilClick(Engine& engine) {
    GraphicsState& g = engine.graphics;
    ShellState& shell = engine.shell;
    const bool inComposition = g.layers.textWindowInComposition;
    g.layers.textWindowInComposition = false;
    redrawRegion(engine, kWholeScreen);
    showRegion(engine, windowEffect(engine), kWholeScreen);
    if (!shell.clickFlag && !shell.rightClickFlag) {
        WaitRule rule;
        rule.kind = WaitKind::Player;
        rule.virtualStepMs = 1;
        rule.unwindOnReset = true;
        waitUntil(engine, rule,
                  [&](const Event*) { return shell.clickFlag || shell.rightClickFlag; });
    }
    shell.clickFlag = false;
    shell.rightClickFlag = false;
    g.layers.textWindowInComposition = inComposition;
    redrawRegion(engine, kWholeScreen);
    showRegion(engine, windowEffect(engine), kWholeScreen);
}

} // namespace orv
