#include "graphics/Blend.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace orv {
namespace {

std::vector<uint8_t> randomBytes(std::mt19937& rng, size_t n) {
    std::vector<uint8_t> out(n);
    for (uint8_t& b : out) b = static_cast<uint8_t>(rng());
    return out;
}

TEST(BlendTest, TableIsTheTruncatedProductAndArithmeticMatchesItForEveryPair) {
    const BlendTable& t = blendTable();
    for (unsigned a = 0; a < 256; ++a) {
        for (unsigned b = 0; b < 256; ++b) {
            ASSERT_EQ(t[a][b], a * b / 255) << a << " " << b;
            ASSERT_EQ(blendMul(a, b), t[a][b]) << a << " " << b;
        }
    }
}

TEST(BlendTest, Div255IsExactOverTheSixteenBitRangeTheKernelsUse) {
    for (unsigned x = 0; x <= 65534; ++x) ASSERT_EQ(div255(x), x / 255) << x;
}

TEST(BlendTest, MixBytesMatchesTheTableForEveryLengthAndWeight) {
    const BlendTable& t = blendTable();
    std::mt19937 rng(7);
    // Lengths around the vector width exercise both the vector body and the scalar tail.
    for (size_t n :
         {size_t{0}, size_t{1}, size_t{15}, size_t{16}, size_t{17}, size_t{33}, size_t{1000}}) {
        std::vector<uint8_t> src = randomBytes(rng, n), dst = randomBytes(rng, n),
                             inv = randomBytes(rng, n);
        if (n > 2) {
            inv[0] = 0;
            inv[1] = 255;
        }
        std::vector<uint8_t> expected(n);
        for (size_t i = 0; i < n; ++i)
            expected[i] = static_cast<uint8_t>(t[src[i]][255 - inv[i]] + t[dst[i]][inv[i]]);
        mixBytes(dst.data(), src.data(), inv.data(), n);
        ASSERT_EQ(dst, expected) << "length " << n;
    }
}

TEST(BlendTest, SelectBytesKeepsMarkedBytesAndTakesTheOthers) {
    std::mt19937 rng(3);
    for (size_t n : {size_t{0}, size_t{5}, size_t{31}, size_t{32}, size_t{33}, size_t{100}}) {
        std::vector<uint8_t> src = randomBytes(rng, n), dst = randomBytes(rng, n), keep(n),
                             expected(n);
        for (size_t i = 0; i < n; ++i) {
            keep[i] = (rng() & 1) ? 0xff : 0;
            expected[i] = keep[i] ? dst[i] : src[i];
        }
        selectBytes(dst.data(), src.data(), keep.data(), n);
        ASSERT_EQ(dst, expected) << "length " << n;
    }
}

TEST(BlendTest, CrossfadeUpdatesOnlyBytesOfThePhaseWithTheTableFormula) {
    const BlendTable& t = blendTable();
    const size_t n = 301;
    std::mt19937 rng(11);
    const std::vector<uint8_t> display = randomBytes(rng, n), composition = randomBytes(rng, n),
                               original = randomBytes(rng, n);
    struct Span {
        size_t begin, end;
    };
    for (Span span : {Span{0, n}, Span{1, n}, Span{3, 298}, Span{4, 5}, Span{7, 7}, Span{2, 67}}) {
        for (int phase = 0; phase < 2; ++phase) {
            for (int level = 0; level < 256; ++level) {
                std::vector<uint8_t> work = original;
                crossfadeBytes(work.data(), display.data(), composition.data(), span.begin,
                               span.end, level, phase);
                for (size_t o = 0; o < n; ++o) {
                    const bool selected =
                        o >= span.begin && o < span.end && (o & 1) == static_cast<size_t>(phase);
                    const int expected = selected
                                             ? t[255 - level][display[o]] + t[level][composition[o]]
                                             : original[o];
                    ASSERT_EQ(work[o], expected)
                        << "offset " << o << " level " << level << " phase " << phase << " span "
                        << span.begin << ".." << span.end;
                }
            }
        }
    }
}

} // namespace
} // namespace orv
