#include "graphics/Transition.h"

#include "graphics/Blend.h"
#include "graphics/GraphicsState.h"
#include "script/ErrorCaptions.h"
#include "util/sjis.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace orv {

namespace {

constexpr int kWidth = kScreenRight + 1;
constexpr int kHeight = kScreenBottom + 1;

bool isScreenSurface(const Surface& s) {
    return s.bitsPerPixel == 24 && s.width == kWidth && s.height == kHeight;
}

void ensureScreenSurface(Surface& s) {
    if (!isScreenSurface(s)) createSurface(s, kWidth, kHeight, 24);
}

// Calls fn(byteOffset, pixels) for each run of the region in the pixel memory of a screen
// surface: one run for the whole screen, else one per row.
template <typename Fn> void forEachRun(const DirtyRect& r, int stride, Fn&& fn) {
    const int width = r.right - r.left + 1;
    if (r == kWholeScreen && stride == kWidth * 3) {
        fn(size_t{0}, static_cast<size_t>(kWidth) * kHeight);
        return;
    }
    for (int y = r.top; y <= r.bottom; ++y)
        fn(static_cast<size_t>(kHeight - 1 - y) * stride + static_cast<size_t>(r.left) * 3,
           static_cast<size_t>(width));
}

void copyColumn(const Surface& src, FrameBuffer& win, int x, int top, int bottom) {
    if (x < 0 || x >= win.width) return;
    for (int y = top; y <= bottom; ++y) std::memcpy(win.row(y) + x * 3, src.row(y) + x * 3, 3);
}

void copyRowSpan(const Surface& src, FrameBuffer& win, int y, int left, int right) {
    if (y < 0 || y >= win.height) return;
    std::memcpy(win.row(y) + left * 3, src.row(y) + left * 3,
                static_cast<size_t>(right - left + 1) * 3);
}

// Fills each R x R block of dst, counted from the bottom-left corner, with src's pixel at the
// block's bottom-left corner.
void mosaic(Surface& dst, const Surface& src, int blockSize) {
    for (int by = 0; by < kHeight; by += blockSize) {
        for (int bx = 0; bx < kWidth; bx += blockSize) {
            const uint8_t* p = src.pixels.data() + static_cast<size_t>(by) * src.stride + bx * 3;
            const int columns = std::min(blockSize, kWidth - bx);
            const int rows = std::min(blockSize, kHeight - by);
            for (int mr = by; mr < by + rows; ++mr) {
                uint8_t* d = dst.pixels.data() + static_cast<size_t>(mr) * dst.stride + bx * 3;
                for (int c = 0; c < columns; ++c, d += 3) std::memcpy(d, p, 3);
            }
        }
    }
}

// Lays the first cell of the mask picture over the whole work surface, repeated from the top-left
// corner. The mask value of a screen pixel is then the blue byte of the work pixel.
void tileMask(const Surface& mask, Surface& work) {
    const int cw = displayedWidth(mask);
    const int h = mask.height;
    if (mask.empty() || cw <= 0 || h <= 0 || cw > mask.width) {
        fillSurface(work, 0x000000);
        return;
    }
    for (int y = 0; y < kHeight; ++y) {
        const uint8_t* s = mask.row(y % h);
        uint8_t* d = work.row(y);
        for (int x = 0; x < kWidth; ++x, d += 3) {
            const int sx = x % cw;
            if (mask.bitsPerPixel == 8) {
                const PaletteEntry& p = mask.palette[s[sx]];
                d[0] = p.blue;
                d[1] = p.green;
                d[2] = p.red;
            } else {
                std::memcpy(d, s + sx * 3, 3);
            }
        }
    }
}

class Runner {
public:
    Runner(GraphicsState& graphics, TransitionHost& host, int duration, const DirtyRect& region)
        : g_(graphics), host_(host), display_(graphics.surfaces.display),
          composition_(graphics.surfaces.composition), work_(graphics.surfaces.effectWork),
          window_(host.window()), duration_(duration) {
        hasRegion_ = clipToScreen(region, r_);
        ensureScreenSurface(display_);
        ensureScreenSurface(composition_);
        ensureScreenSurface(work_);
    }

    void run(int type, const std::string& image) {
        switch (type) {
        case 1:
            break;
        case 2:
            blinds(false, false);
            break;
        case 3:
            blinds(false, true);
            break;
        case 4:
            blinds(true, false);
            break;
        case 5:
            blinds(true, true);
            break;
        case 6:
            sweep(false, 0, 24);
            break;
        case 7:
            sweep(false, 1169, -24);
            break;
        case 8:
            sweep(true, 0, 24);
            break;
        case 9:
            sweep(true, 1009, -24);
            break;
        case 10:
            crossfade();
            break;
        case 11:
        case 12:
        case 13:
        case 14:
            scroll(type);
            break;
        case 15:
            maskWipe(image);
            break;
        case 16:
            mosaicOut();
            return;
        case 17:
            mosaicIn();
            break;
        case 18:
            softMaskWipe(image);
            break;
        }
        finish(type);
    }

private:
    bool drawsFrames() const { return hasRegion_ && !g_.unwatched; }

    void presentRegion() {
        if (hasRegion_) host_.present(toPlatformRect(r_));
    }
    void presentScreen() { host_.present(toPlatformRect(kWholeScreen)); }

    // The end of a frame: one message through, then the rest of the period asleep.
    void endFrame(uint32_t start, int period) {
        host_.pumpOneEvent();
        const uint32_t elapsed = host_.ticks() - start;
        if (period > 0 && elapsed < static_cast<uint32_t>(period))
            host_.sleep(static_cast<uint32_t>(period) - elapsed);
    }

    // The level step of the level-driven effects: the time the frame took over the time one level
    // stands for; a frame faster than that sleeps the difference and advances one level.
    long long levelStep(uint32_t start, int unitsPerDuration) {
        const long long e = host_.ticks() - start;
        const int unit = duration_ / unitsPerDuration;
        long long step = e / std::max(1, unit);
        if (step == 0) {
            if (unit - e > 0) host_.sleep(static_cast<uint32_t>(unit - e));
            step = 1;
        }
        return step;
    }

    void blinds(bool rows, bool reverse) {
        for (int f = 0; f < 16; ++f) {
            const int k = reverse ? 15 - f : f;
            const uint32_t start = host_.ticks();
            if (drawsFrames()) {
                if (rows) {
                    for (int y = r_.top + k; y <= r_.bottom; y += 16)
                        copyRowSpan(composition_, window_, y, r_.left, r_.right);
                } else {
                    for (int x = r_.left + k; x <= r_.right; x += 16)
                        copyColumn(composition_, window_, x, r_.top, r_.bottom);
                }
            }
            presentRegion();
            endFrame(start, duration_ / 16);
        }
    }

    // 24 one-pixel lines 23 apart, the whole comb moving 24 pixels a frame.
    void sweep(bool rows, int first, int step) {
        const int frames = rows ? 43 : 49;
        const int period = duration_ / (frames - 1);
        for (int f = 0; f < frames; ++f) {
            const int o = first + step * f;
            const uint32_t start = host_.ticks();
            if (drawsFrames()) {
                for (int j = 0; j < 24; ++j) {
                    const int p = o - 23 * j;
                    if (rows && p >= r_.top && p <= r_.bottom)
                        copyRowSpan(composition_, window_, p, r_.left, r_.right);
                    else if (!rows && p >= r_.left && p <= r_.right)
                        copyColumn(composition_, window_, p, r_.top, r_.bottom);
                }
            }
            presentRegion();
            endFrame(start, period);
        }
    }

    void crossfade() {
        if (!g_.unwatched) copyRect(display_, work_, kWholeScreen);
        int level = 1;
        int phase = 1; // odd offsets first
        for (;;) {
            const uint32_t start = host_.ticks();
            if (drawsFrames()) {
                forEachRun(r_, work_.stride, [&](size_t offset, size_t pixels) {
                    crossfadeBytes(work_.pixels.data(), display_.pixels.data(),
                                   composition_.pixels.data(), offset, offset + pixels * 3, level,
                                   phase);
                });
                copyToWindow(work_, window_, r_);
            }
            phase ^= 1;
            presentRegion();
            host_.pumpOneEvent();
            if (level == 255) break;
            const long long e = host_.ticks() - start;
            long long step = duration_ > 0 ? 256 * e / duration_ : 255;
            if (step == 0) {
                const long long rest = duration_ / 256 - e;
                if (rest > 0) host_.sleep(static_cast<uint32_t>(rest));
                step = 1;
            }
            level = static_cast<int>(std::min<long long>(255, level + step));
        }
    }

    void scroll(int type) {
        const size_t stride = static_cast<size_t>(window_.stride);
        for (int k = 0; k < 80; ++k) {
            const uint32_t start = host_.ticks();
            if (window_.width == kWidth && window_.height == kHeight && !g_.unwatched) {
                switch (type) {
                case 11: // right: new columns come in at the left edge
                    for (int y = 0; y < kHeight; ++y) {
                        uint8_t* row = window_.row(y);
                        std::memmove(row + 24, row, (kWidth - 8) * 3);
                        std::memcpy(row, composition_.row(y) + (632 - 8 * k) * 3, 24);
                    }
                    break;
                case 12: // left
                    for (int y = 0; y < kHeight; ++y) {
                        uint8_t* row = window_.row(y);
                        std::memmove(row, row + 24, (kWidth - 8) * 3);
                        std::memcpy(row + 632 * 3, composition_.row(y) + 8 * k * 3, 24);
                    }
                    break;
                case 13: // down: rows are stored bottom-up, so the picture moves to lower memory
                    std::memmove(window_.pixels.data(), window_.pixels.data() + 6 * stride,
                                 (kHeight - 6) * stride);
                    for (int i = 0; i < 6; ++i)
                        std::memcpy(window_.row(i), composition_.row(474 - 6 * k + i), kWidth * 3);
                    break;
                case 14: // up
                    std::memmove(window_.pixels.data() + 6 * stride, window_.pixels.data(),
                                 (kHeight - 6) * stride);
                    for (int i = 0; i < 6; ++i)
                        std::memcpy(window_.row(474 + i), composition_.row(6 * k + i), kWidth * 3);
                    break;
                }
            }
            presentScreen();
            endFrame(start, duration_ / 80);
        }
    }

    void maskWipe(const std::string& image) {
        {
            Surface mask;
            host_.loadImage(mask, image);
            tileMask(mask, work_);
        }
        uint8_t* disp = display_.pixels.data();
        const uint8_t* comp = composition_.pixels.data();
        uint8_t* work = work_.pixels.data();
        long long level = 1;
        for (;;) {
            const uint32_t start = host_.ticks();
            if (drawsFrames()) {
                forEachRun(r_, work_.stride, [&](size_t offset, size_t pixels) {
                    const size_t end = offset + pixels * 3;
                    for (size_t o = offset; o < end; o += 3) {
                        if (work[o] > level) continue;
                        disp[o] = comp[o];
                        disp[o + 1] = comp[o + 1];
                        disp[o + 2] = comp[o + 2];
                        work[o] = 255;
                    }
                });
                copyToWindow(display_, window_, r_);
            }
            presentRegion();
            host_.pumpOneEvent();
            level += levelStep(start, 256);
            if (level > 254) break;
        }
    }

    void softMaskWipe(const std::string& image) {
        {
            Surface mask;
            host_.loadImage(mask, image);
            tileMask(mask, work_);
        }
        Surface old;
        createSurface(old, kWidth, kHeight, 24);
        copyRect(display_, old, kWholeScreen);
        std::vector<uint8_t> done(static_cast<size_t>(kWidth) * kHeight, 0);
        uint8_t* disp = display_.pixels.data();
        const uint8_t* comp = composition_.pixels.data();
        const uint8_t* before = old.pixels.data();
        const uint8_t* work = work_.pixels.data();
        long long level = 1;
        for (;;) {
            const uint32_t start = host_.ticks();
            if (drawsFrames()) {
                forEachRun(r_, work_.stride, [&](size_t offset, size_t pixels) {
                    const size_t end = offset + pixels * 3;
                    for (size_t o = offset; o < end; o += 3) {
                        uint8_t& isDone = done[o / 3];
                        if (isDone) continue;
                        const long long t = level - work[o];
                        if (t > 254) {
                            std::memcpy(disp + o, comp + o, 3);
                            isDone = 1;
                        } else if (t > 0) {
                            const auto w = static_cast<unsigned>(t);
                            for (int c = 0; c < 3; ++c)
                                disp[o + c] = static_cast<uint8_t>(
                                    blendMul(255 - w, before[o + c]) + blendMul(w, comp[o + c]));
                        }
                    }
                });
                copyToWindow(display_, window_, r_);
            }
            presentRegion();
            host_.pumpOneEvent();
            level += levelStep(start, 512);
            if (level > 511) break;
        }
    }

    void mosaicOut() {
        copyRect(display_, work_, kWholeScreen);
        for (int blockSize : {5, 10, 20, 40, 80, 160}) {
            const uint32_t start = host_.ticks();
            if (!g_.unwatched) {
                mosaic(display_, work_, blockSize);
                copyToWindow(display_, window_, kWholeScreen);
            }
            presentScreen();
            endFrame(start, duration_ / 10);
        }
        if (g_.effects.effectPause > 0) host_.sleep(static_cast<uint32_t>(g_.effects.effectPause));
        markDirty(g_.layers.dirty, 0, 0, kScreenRight, kScreenBottom);
    }

    void mosaicIn() {
        for (int blockSize : {160, 80, 40, 20, 10, 5}) {
            const uint32_t start = host_.ticks();
            if (!g_.unwatched) {
                mosaic(display_, composition_, blockSize);
                copyToWindow(display_, window_, kWholeScreen);
            }
            presentScreen();
            endFrame(start, duration_ / 10);
        }
    }

    void finish(int type) {
        if (drawsFrames()) {
            copyRect(composition_, display_, r_);
            copyToWindow(display_, window_, r_);
        }
        presentRegion();
        if (type != 1 && g_.effects.effectPause > 0)
            host_.sleep(static_cast<uint32_t>(g_.effects.effectPause));
    }

    GraphicsState& g_;
    TransitionHost& host_;
    Surface& display_;
    Surface& composition_;
    Surface& work_;
    FrameBuffer& window_;
    int duration_;
    DirtyRect r_;
    bool hasRegion_ = false;
};

} // namespace

bool transitionCoversScreen(int type) {
    return (type >= 11 && type <= 14) || type == 17;
}

void copyToWindow(const Surface& source, FrameBuffer& window, const DirtyRect& rect) {
    if (source.bitsPerPixel != 24) return;
    DirtyRect r;
    if (!clipToScreen(rect, r)) return;
    r.right = std::min({r.right, source.width - 1, window.width - 1});
    r.bottom = std::min({r.bottom, source.height - 1, window.height - 1});
    if (r.left > r.right || r.top > r.bottom) return;
    if (r.left == 0 && r.top == 0 && r.right == window.width - 1 && r.bottom == window.height - 1 &&
        source.width == window.width && source.height == window.height &&
        source.stride == window.stride) {
        std::memcpy(window.pixels.data(), source.pixels.data(), window.pixels.size());
        return;
    }
    for (int y = r.top; y <= r.bottom; ++y)
        std::memcpy(window.row(y) + r.left * 3, source.row(y) + r.left * 3,
                    static_cast<size_t>(r.right - r.left + 1) * 3);
}

void runTransition(GraphicsState& graphics, TransitionHost& host, int type, int duration,
                   const std::string& image, const DirtyRect& region) {
    if (type == -1) {
        host.reportError(S(caption::kError), S("未定義のエフェクトを使いました"));
        return;
    }
    if (type == 0) return;
    graphics.layers.dirty = DirtyRect{};
    if (type < -1 || type > 18) {
        host.reportError(S(caption::kError),
                         S("不正なエフェクト番号です。EFFECT命令をチェックしてください。"));
        return;
    }
    Runner(graphics, host, duration, region).run(type, image);
}

} // namespace orv
