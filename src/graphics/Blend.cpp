#include "graphics/Blend.h"

#include "util/PixelKernel.h"

#include <bit>
#include <cstring>

// The kernels are written with the compiler's vector types so that they vectorise at -O2 as well
// as -O3; on x86-64 an AVX2 clone is picked at load time where the processor has it, doubling the
// lanes. Both clones compute the same bytes. A coverage build goes without the clones, which clang
// will not combine with the kernels' mark.
#if defined(__x86_64__) && defined(__has_attribute) && !defined(ORV_COVERAGE_BUILD)
#if __has_attribute(target_clones)
#define ORV_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#endif
#endif
#ifndef ORV_VECTOR_CLONES
#define ORV_VECTOR_CLONES
#endif

namespace orv {

namespace {

typedef uint8_t U8x16 __attribute__((vector_size(16)));
typedef uint16_t U16x16 __attribute__((vector_size(32)));
typedef uint8_t U8x32 __attribute__((vector_size(32)));

BlendTable buildBlendTable() {
    BlendTable table{};
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b) table.entries[a][b] = static_cast<uint8_t>(a * b / 255);
    return table;
}

// Updates the byte of each 16-bit word selected by Shift (0: the first byte in memory, 8: the
// second; the words are read little-endian) for `words` words starting at the given pointers.
template <int Shift>
[[gnu::always_inline]] inline void
crossfadeWords(uint8_t* __restrict work, const uint8_t* __restrict display,
               const uint8_t* __restrict composition, size_t words, unsigned level) {
    const uint16_t inverse = static_cast<uint16_t>(255 - level);
    const uint16_t weight = static_cast<uint16_t>(level);
    const uint16_t keep = static_cast<uint16_t>(0xff00 >> Shift);
    size_t k = 0;
    for (; k + 16 <= words; k += 16) {
        U16x16 w, d, c;
        std::memcpy(&w, work + 2 * k, sizeof w);
        std::memcpy(&d, display + 2 * k, sizeof d);
        std::memcpy(&c, composition + 2 * k, sizeof c);
        U16x16 x1 = ((d >> Shift) & 0xff) * inverse;
        U16x16 x2 = ((c >> Shift) & 0xff) * weight;
        U16x16 r = ((x1 + 1 + (x1 >> 8)) >> 8) + ((x2 + 1 + (x2 >> 8)) >> 8);
        w = (w & keep) | (r << Shift);
        std::memcpy(work + 2 * k, &w, sizeof w);
    }
    const size_t byteOffset = Shift ? 1 : 0;
    for (; k < words; ++k) {
        const size_t o = 2 * k + byteOffset;
        work[o] =
            static_cast<uint8_t>(blendMul(inverse, display[o]) + blendMul(weight, composition[o]));
    }
}

// The clones are made of plain functions (some compilers refuse templates).
ORV_VECTOR_CLONES ORV_PIXEL_KERNEL void crossfadeLowBytes(uint8_t* __restrict work,
                                                          const uint8_t* __restrict display,
                                                          const uint8_t* __restrict composition,
                                                          size_t words, unsigned level) {
    crossfadeWords<0>(work, display, composition, words, level);
}

ORV_VECTOR_CLONES ORV_PIXEL_KERNEL void crossfadeHighBytes(uint8_t* __restrict work,
                                                           const uint8_t* __restrict display,
                                                           const uint8_t* __restrict composition,
                                                           size_t words, unsigned level) {
    crossfadeWords<8>(work, display, composition, words, level);
}

} // namespace

const BlendTable& blendTable() {
    static const BlendTable table = buildBlendTable();
    return table;
}

ORV_VECTOR_CLONES ORV_PIXEL_KERNEL void mixBytes(uint8_t* __restrict dst,
                                                 const uint8_t* __restrict src,
                                                 const uint8_t* __restrict inv, size_t n) {
    size_t j = 0;
    for (; j + 16 <= n; j += 16) {
        U8x16 s8, d8, i8;
        std::memcpy(&s8, src + j, sizeof s8);
        std::memcpy(&d8, dst + j, sizeof d8);
        std::memcpy(&i8, inv + j, sizeof i8);
        U16x16 s = __builtin_convertvector(s8, U16x16);
        U16x16 d = __builtin_convertvector(d8, U16x16);
        U16x16 i = __builtin_convertvector(i8, U16x16);
        U16x16 x1 = s * (255 - i);
        U16x16 x2 = d * i;
        U16x16 r = ((x1 + 1 + (x1 >> 8)) >> 8) + ((x2 + 1 + (x2 >> 8)) >> 8);
        U8x16 out = __builtin_convertvector(r, U8x16);
        std::memcpy(dst + j, &out, sizeof out);
    }
    for (; j < n; ++j)
        dst[j] = static_cast<uint8_t>(blendMul(src[j], 255 - inv[j]) + blendMul(dst[j], inv[j]));
}

ORV_VECTOR_CLONES ORV_PIXEL_KERNEL void scaleBytes(uint8_t* __restrict dst,
                                                   const uint8_t* __restrict weight, size_t n) {
    size_t j = 0;
    for (; j + 16 <= n; j += 16) {
        U8x16 d8, w8;
        std::memcpy(&d8, dst + j, sizeof d8);
        std::memcpy(&w8, weight + j, sizeof w8);
        const U16x16 x = __builtin_convertvector(d8, U16x16) * __builtin_convertvector(w8, U16x16);
        const U8x16 out = __builtin_convertvector((x + 1 + (x >> 8)) >> 8, U8x16);
        std::memcpy(dst + j, &out, sizeof out);
    }
    for (; j < n; ++j) dst[j] = static_cast<uint8_t>(blendMul(weight[j], dst[j]));
}

ORV_VECTOR_CLONES ORV_PIXEL_KERNEL void selectBytes(uint8_t* __restrict dst,
                                                    const uint8_t* __restrict src,
                                                    const uint8_t* __restrict keep, size_t n) {
    size_t j = 0;
    for (; j + 32 <= n; j += 32) {
        U8x32 s, d, k;
        std::memcpy(&s, src + j, sizeof s);
        std::memcpy(&d, dst + j, sizeof d);
        std::memcpy(&k, keep + j, sizeof k);
        const U8x32 out = (d & k) | (s & ~k);
        std::memcpy(dst + j, &out, sizeof out);
    }
    for (; j < n; ++j) dst[j] = keep[j] ? dst[j] : src[j];
}

ORV_PIXEL_KERNEL void crossfadeBytes(uint8_t* work, const uint8_t* display,
                                     const uint8_t* composition, size_t begin, size_t end,
                                     int level, int phase) {
    if (begin >= end) return;
    const unsigned inverse = 255u - static_cast<unsigned>(level);
    const unsigned weight = static_cast<unsigned>(level);
    auto one = [&](size_t o) {
        work[o] =
            static_cast<uint8_t>(blendMul(inverse, display[o]) + blendMul(weight, composition[o]));
    };
    if constexpr (std::endian::native != std::endian::little) {
        for (size_t o = begin + ((begin & 1) != static_cast<size_t>(phase & 1)); o < end; o += 2)
            one(o);
        return;
    }
    // Whole words start at even offsets; a lone selected byte at either end is done on its own.
    size_t first = (begin + 1) & ~size_t{1};
    if (first != begin && (begin & 1) == static_cast<size_t>(phase & 1)) one(begin);
    if (first >= end) return;
    const size_t words = (end - first) / 2;
    if (phase & 1)
        crossfadeHighBytes(work + first, display + first, composition + first, words, weight);
    else
        crossfadeLowBytes(work + first, display + first, composition + first, words, weight);
    const size_t last = first + 2 * words;
    if (last < end && (last & 1) == static_cast<size_t>(phase & 1)) one(last);
}

} // namespace orv
