// Mixing of 8-bit channel values by a weight.
//
// Every blend in the engine is result = T[w][src] + T[255 - w][dst] per channel, with
// T[a][b] = floor(a * b / 255). The table is kept for code that wants a lookup, but the hot loops
// compute the same bytes arithmetically: for 0 <= x <= 65534, floor(x / 255) equals
// (x + 1 + (x >> 8)) >> 8, which needs no division and stays inside 16-bit lanes (x <= 255 * 255),
// so the compiler can put eight or sixteen channels in one vector register.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orv {

struct BlendTable {
    uint8_t entries[256][256];
    const uint8_t* operator[](int a) const { return entries[a]; }
};

// Built on first use; the start-up code touches it early so that no frame pays for it.
const BlendTable& blendTable();

// floor(x / 255) for 0 <= x <= 65534.
constexpr unsigned div255(unsigned x) {
    return (x + 1 + (x >> 8)) >> 8;
}

// T[a][b] for a, b in 0..255.
constexpr unsigned blendMul(unsigned a, unsigned b) {
    return div255(a * b);
}

// T[w][src] + T[255 - w][dst]: src weighted by w over dst.
constexpr uint8_t blendByte(unsigned w, unsigned src, unsigned dst) {
    return static_cast<uint8_t>(blendMul(w, src) + blendMul(255 - w, dst));
}

// dst[j] = T[src[j]][255 - inv[j]] + T[dst[j]][inv[j]] for j < n: inv[j] is the weight left to
// what is already there (255 keeps dst, 0 takes src).
void mixBytes(uint8_t* dst, const uint8_t* src, const uint8_t* inv, size_t n);

// dst[j] = T[weight[j]][dst[j]] for j < n: a tint, channel by channel.
void scaleBytes(uint8_t* dst, const uint8_t* weight, size_t n);

// dst[j] = keep[j] ? dst[j] : src[j] for j < n, where keep[j] is 0 or 0xff: a colour-keyed copy.
void selectBytes(uint8_t* dst, const uint8_t* src, const uint8_t* keep, size_t n);

// The crossfade step. For every byte offset o in [begin, end) whose parity is `phase` (0 even,
// 1 odd): work[o] = T[255 - level][display[o]] + T[level][composition[o]]. The pointers are the
// starts of the three buffers; offsets count from them, so the parity is that of the position in
// the pixel memory, not in the row.
void crossfadeBytes(uint8_t* work, const uint8_t* display, const uint8_t* composition, size_t begin,
                    size_t end, int level, int phase);

} // namespace orv
