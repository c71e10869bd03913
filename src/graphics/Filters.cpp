#include "graphics/Filters.h"

#include "graphics/Blend.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace orv {

namespace {

// The bytes of one pass: the whole pixel memory when the region is the whole surface (rows are
// then contiguous, padding included, which the filters may touch harmlessly), else row by row.
template <class Pass> void forEachSpan(Surface& s, const DirtyRect& r, Pass&& pass) {
    if (r.left == 0 && r.top == 0 && r.right == s.width - 1 && r.bottom == s.height - 1) {
        pass(s.pixels.data(), s.pixels.size() / 3);
        return;
    }
    const auto pixels = static_cast<size_t>(r.right - r.left + 1);
    for (int y = r.top; y <= r.bottom; ++y)
        pass(s.row(y) + static_cast<size_t>(r.left) * 3, pixels);
}

// Eight bytes at a time: the compiler keeps the loop plain at this optimisation level.
void invert(uint8_t* p, size_t pixels) {
    const size_t n = pixels * 3;
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t v;
        std::memcpy(&v, p + i, 8);
        v = ~v;
        std::memcpy(p + i, &v, 8);
    }
    for (; i < n; ++i) p[i] = static_cast<uint8_t>(~p[i]);
}

// Per channel, the tinted value of every possible sum of the three channels: the grey is the sum
// divided by three, then scaled by the tint through the blend table.
struct TintTables {
    std::array<uint8_t, 3 * 255 + 1> blue, green, red;

    explicit TintTables(const FilterState& f) {
        const BlendTable& t = blendTable();
        for (int sum = 0; sum <= 3 * 255; ++sum) {
            const int grey = sum / 3;
            blue[static_cast<size_t>(sum)] = t[grey][f.tintBlue & 0xff];
            green[static_cast<size_t>(sum)] = t[grey][f.tintGreen & 0xff];
            red[static_cast<size_t>(sum)] = t[grey][f.tintRed & 0xff];
        }
    }

    void apply(uint8_t* p, size_t pixels) const {
        for (size_t i = 0; i < pixels; ++i, p += 3) {
            const size_t sum = size_t{p[0]} + p[1] + p[2];
            p[0] = blue[sum];
            p[1] = green[sum];
            p[2] = red[sum];
        }
    }
};

} // namespace

void applyFilters(const FilterState& filters, Surface& composition, const DirtyRect& region) {
    if (filters.negativeMode != 1 && filters.negativeMode != 2 && !filters.monochrome) return;
    if (composition.bitsPerPixel != 24) return;
    if (filters.negativeMode == 1) forEachSpan(composition, region, invert);
    if (filters.monochrome) {
        const TintTables tint(filters);
        forEachSpan(composition, region, [&](uint8_t* p, size_t n) { tint.apply(p, n); });
    }
    if (filters.negativeMode == 2) forEachSpan(composition, region, invert);
}

} // namespace orv
