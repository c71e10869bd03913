#include "graphics/Quake.h"

#include "graphics/Transition.h"
#include "interp/Engine.h"
#include "shell/Wait.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace orv {

namespace {

// Multiples of a swing's step, frame by frame: out to the right (down) and back, then to the left
// (up) and back.
constexpr std::array<int, 16> kSwing = {0, 1, 2, 3, 4, 3, 2, 1, 0, -1, -2, -3, -4, -3, -2, -1};

void blackRow(FrameBuffer& window, int y, int from, int to) {
    if (from < to) std::memset(window.row(y) + from * 3, 0, static_cast<size_t>(to - from) * 3);
}

// Sleeps what is left of the frame's period, letting the window's messages through meanwhile.
// A frame with no time left still lets one message through (headless, an empty poll takes a
// millisecond), so that even a quake of countless frames keeps the window alive and a headless
// run reaches its time limit. The animated cells stand still: they would draw over the moved
// picture.
void sleepRest(Engine& engine, uint32_t frameStart, int64_t period) {
    const uint32_t deadline = frameStart + static_cast<uint32_t>(std::max<int64_t>(period, 0));
    WaitRule rule;
    rule.animatesCells = false;
    if (period <= 0 || clockReached(engine.platform.ticks(), deadline)) {
        rule.maxIdleMs = 0;
        waitUntil(engine, rule, [](const Event*) { return true; });
        return;
    }
    rule.deadline = deadline;
    waitUntil(engine, rule, [](const Event*) { return false; });
}

} // namespace

void drawQuakeFrame(const Surface& display, FrameBuffer& window, int offset, QuakeAxis axis) {
    if (display.bitsPerPixel != 24 || display.width != window.width ||
        display.height != window.height)
        return;
    const int w = window.width, h = window.height;
    if (axis == QuakeAxis::Horizontal) {
        const int d = std::clamp(offset, -w, w);
        for (int y = 0; y < h; ++y) {
            uint8_t* out = window.row(y);
            const uint8_t* in = display.row(y);
            if (d >= 0) {
                std::memcpy(out + d * 3, in, static_cast<size_t>(w - d) * 3);
                blackRow(window, y, 0, d);
            } else {
                std::memcpy(out, in - d * 3, static_cast<size_t>(w + d) * 3);
                blackRow(window, y, std::max(w - 1 + d, 0), w);
            }
        }
        return;
    }
    const int d = std::clamp(offset, -h, h);
    for (int y = 0; y < h; ++y) {
        const int from = y - d;
        const bool band = d >= 0 ? y < d : y >= h - 1 + d;
        if (band || from < 0 || from >= h)
            blackRow(window, y, 0, w);
        else
            std::memcpy(window.row(y), display.row(from), static_cast<size_t>(w) * 3);
    }
}

void runQuake(Engine& engine, int32_t n, int32_t t, QuakeAxis axis) {
    Platform& platform = engine.platform;
    const Surface& display = engine.graphics.surfaces.display;
    FrameBuffer& window = platform.window();
    const Rect whole = toPlatformRect(kWholeScreen);
    for (int64_t k = 0; k < n; ++k) {
        const int64_t period = int64_t{t} / (16 * int64_t{n});
        const int64_t step = 4 * (int64_t{n} - k);
        for (const int swing : kSwing) {
            const uint32_t start = platform.ticks();
            const int64_t offset = std::clamp<int64_t>(swing * step, -kScreenWidth, kScreenWidth);
            drawQuakeFrame(display, window, static_cast<int>(offset), axis);
            platform.present(whole);
            sleepRest(engine, start, period);
        }
    }
    copyToWindow(display, window, kWholeScreen);
    platform.present(whole);
}

} // namespace orv
