#include "menus/LookbackViewer.h"

#include "graphics/GraphicsCommands.h"
#include "graphics/ImageLoader.h"
#include "interp/Engine.h"
#include "shell/Wait.h"
#include "sound/SoundPlayback.h"
#include "text/TextWindow.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace orv {

namespace {

constexpr std::string_view kDefaultButtons[4] = {"uoncur.bmp", "uoffcur.bmp", "doncur.bmp",
                                                 "doffcur.bmp"};

void present(Engine& engine, const DirtyRect& rect) {
    DirtyRect r;
    if (!clipToScreen(rect, r)) return;
    copyToWindow(engine.graphics.surfaces.display, engine.platform.window(), r);
    engine.platform.present(toPlatformRect(r));
}

// One opening of the viewer: the pages, the one shown, and the buttons over the display.
class LookbackView {
public:
    LookbackView(Engine& engine, std::vector<std::string_view> pages)
        : engine_(engine), pages_(std::move(pages)), index_(static_cast<int>(pages_.size()) - 1) {
        createSurface(saved_, kScreenRight + 1, kScreenBottom + 1, 24);
    }

    void showPage(bool first) {
        GraphicsState& g = engine_.graphics;
        if (first) hideTextWindowIfErasable(engine_);
        g.layers.textWindowInComposition = false;
        redrawRegion(engine_, kWholeScreen);
        shadeWindowArea(engine_, windowRect(engine_.text));
        showRegion(engine_, first ? windowEffect(engine_) : EffectSpec{1, 0, {}},
                   widenedWindowRect(engine_.text));
        drawText(pages_[static_cast<size_t>(index_)]);
        layOutButtons();
        copyRect(g.surfaces.display, saved_, upArea_);
        copyRect(g.surfaces.display, saved_, downArea_);
        drawButtons();
    }

    // The pointer moved to height y.
    void follow(int y) {
        const TextWindow& w = engine_.text.window;
        const int state = lookbackPagingAt(w.top, w.bottom, y, index_ > 0, index_ < last());
        if (state == paging_) return;
        paging_ = state;
        drawButtons();
    }

    // A click: true when it paged.
    bool page() {
        if (paging_ == 0) return false;
        index_ += paging_;
        playVoice(engine_, engine_.systemMenu.lookback.pageVoice);
        showPage(false);
        return true;
    }

    // The wheel or an arrow key: one page older (-1) or newer (1); false when there is none.
    bool step(int direction) {
        const int index = index_ + direction;
        if (index < 0 || index > last()) return false;
        index_ = index;
        playVoice(engine_, engine_.systemMenu.lookback.pageVoice);
        showPage(false);
        return true;
    }

    // The player leaves: the window comes back with the current page's own text.
    void close() {
        hideTextWindowIfErasable(engine_);
        engine_.graphics.layers.textWindowInComposition = true;
        redrawRegion(engine_, kWholeScreen);
        showRegion(engine_, windowEffect(engine_), kWholeScreen);
    }

private:
    int last() const { return static_cast<int>(pages_.size()) - 1; }

    // Each cell as the window drew it, in the lookback colour, onto the display only. A cell the
    // window (or the screen) cannot hold whole, as after a change of the window's layout, is left
    // out and its place kept.
    void drawText(std::string_view page) {
        const TextWindow& w = engine_.text.window;
        const CellStyle style{w.currentFace, w.glyphWidth,  w.glyphHeight,
                              w.bold != 0,   w.shadow != 0, false};
        const uint32_t colour = engine_.systemMenu.lookback.colour;
        int64_t x = w.originX;
        int64_t y = w.originY;
        for (size_t i = 0; i < page.size();) {
            if (page[i] == '\n') {
                x = w.originX;
                y += w.pitchY;
                ++i;
                continue;
            }
            const auto first = static_cast<unsigned char>(page[i]);
            const auto second =
                i + 1 < page.size() ? static_cast<unsigned char>(page[i + 1]) : uint8_t{0};
            i += 2;
            if (fits(x, y)) {
                const int cx = static_cast<int>(x);
                const int cy = static_cast<int>(y);
                drawCell(engine_, style,
                         DirtyRect{cx, cy, cx + w.glyphWidth, cy + w.glyphHeight - 1}, cx, cy,
                         first, second, colour);
            }
            x += w.pitchX;
        }
    }

    bool fits(int64_t x, int64_t y) const {
        const TextWindow& w = engine_.text.window;
        const int64_t right = x + w.glyphWidth - 1;
        const int64_t bottom = y + w.glyphHeight - 1;
        return x >= w.left && y >= w.top && right <= w.right && bottom <= w.bottom && x >= 0 &&
               y >= 0 && right + 1 <= kScreenRight && bottom <= kScreenBottom;
    }

    void layOutButtons() {
        const TextWindow& w = engine_.text.window;
        const Surface& up = engine_.systemMenu.lookback.upOn;
        const int bw = displayedWidth(up);
        const int bh = up.height;
        // The window's edges are whatever the scenario gave: the sums are kept in the int range.
        auto edge = [](int64_t v) {
            return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
        };
        const int left = edge(int64_t{w.right} - bw);
        const int right = edge(int64_t{w.right} - 1);
        upArea_ = {left, w.top, right, edge(int64_t{w.top} + bh - 1)};
        downArea_ = {left, edge(int64_t{w.bottom} - bh), right, edge(int64_t{w.bottom} - 1)};
        hasButtons_ = bw > 0 && bh > 0;
    }

    void drawButtons() {
        if (!hasButtons_) return;
        const LookbackSettings& lb = engine_.systemMenu.lookback;
        Surface& display = engine_.graphics.surfaces.display;
        if ((index_ == last() && paging_ == 1) || (index_ == 0 && paging_ == -1)) paging_ = 0;
        copyRect(saved_, display, upArea_);
        copyRect(saved_, display, downArea_);
        if (index_ > 0)
            drawSurface(paging_ == -1 ? lb.upOn : lb.upOff, display, upArea_, upArea_.left,
                        upArea_.top);
        if (index_ < last())
            drawSurface(paging_ == 1 ? lb.downOn : lb.downOff, display, downArea_, downArea_.left,
                        downArea_.top);
        present(engine_, upArea_);
        present(engine_, downArea_);
    }

    Engine& engine_;
    std::vector<std::string_view> pages_;
    int index_;
    int paging_ = 0;
    Surface saved_; // the display under the buttons
    DirtyRect upArea_;
    DirtyRect downArea_;
    bool hasButtons_ = false;
};

} // namespace

std::vector<std::string_view> finishedPages(std::string_view record) {
    std::vector<std::string_view> pages;
    size_t start = 0;
    for (size_t i = 0; i < record.size();) {
        if (record[i] == '\\') {
            pages.push_back(record.substr(start, i - start));
            start = ++i;
        } else {
            i += record[i] == '\n' ? 1 : 2;
        }
    }
    return pages;
}

int lookbackPagingAt(int top, int bottom, int y, bool older, bool newer) {
    if (y < top || y > bottom) return 0;
    // Sums of three window edges stay inside 64 bits whatever the scenario gave.
    const int64_t t = top;
    const int64_t b = bottom;
    if (newer && y > (t + 2 * b) / 3) return 1;
    if (older && y < (b + 2 * t) / 3) return -1;
    return 0;
}

bool showLookback(Engine& engine) {
    std::vector<std::string_view> pages = finishedPages(engine.text.lookback.text());
    if (pages.empty()) return false;
    ShellState& shell = engine.shell;
    shell.clickFlag = false;
    shell.rightClickFlag = false;
    LookbackView view(engine, std::move(pages));
    view.showPage(true);

    WaitRule rule;
    rule.kind = WaitKind::Player;
    rule.virtualStepMs = 1;
    rule.unwindOnReset = true;
    rule.animatesCells = false;
    waitUntil(engine, rule, [&](const Event* event) {
        if (!event) return false;
        if (event->kind == EventKind::MouseMove) view.follow(shell.mouseY);
        // Turning towards the player reads on, and past the newest page leaves.
        const bool older = (event->kind == EventKind::Wheel && event->code == kWheelUp) ||
                           (event->kind == EventKind::Key && event->code == kKeyUp);
        const bool newer = (event->kind == EventKind::Wheel && event->code == kWheelDown) ||
                           (event->kind == EventKind::Key && event->code == kKeyDown);
        if (older) view.step(-1);
        if (newer && !view.step(1)) return true;
        if (shell.clickFlag) {
            shell.clickFlag = false;
            if (!view.page() && event->kind == EventKind::LButtonUp &&
                event->code == kAutomaticClick)
                throw ExitRequest{3, "input exhausted: the lookback waits for a right click, and "
                                     "the automatic click at (" +
                                         std::to_string(event->x) + ", " +
                                         std::to_string(event->y) + ") pages nowhere"};
        }
        if (!shell.rightClickFlag) return false;
        shell.rightClickFlag = false;
        return true;
    });
    view.close();
    return true;
}

void loadDefaultLookbackButtons(Engine& engine) {
    LookbackSettings& lb = engine.systemMenu.lookback;
    if (!lb.upOn.empty()) return;
    Surface* const buttons[4] = {&lb.upOn, &lb.upOff, &lb.downOn, &lb.downOff};
    engine.graphics.optionalLoad = true;
    for (size_t i = 0; i < 4; ++i) loadImage(engine, *buttons[i], kDefaultButtons[i]);
    engine.graphics.optionalLoad = false;
}

} // namespace orv
