#include "shell/CursorFile.h"

#include "CursorWriter.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

using namespace orv;
using namespace orv::test;

namespace {

using Bgra = std::array<uint8_t, 4>;

Bgra pixelAt(const CursorImage& image, int x, int y) {
    const size_t at = (size_t(y) * image.width + x) * 4;
    return {image.bgra.at(at), image.bgra.at(at + 1), image.bgra.at(at + 2), image.bgra.at(at + 3)};
}

std::vector<Bgra> pixelsAt(const CursorImage& image,
                           std::initializer_list<std::pair<int, int>> at) {
    std::vector<Bgra> out;
    for (auto [x, y] : at) out.push_back(pixelAt(image, x, y));
    return out;
}

constexpr Bgra kClear{0, 0, 0, 0};
constexpr Bgra kOpaqueBlack{0, 0, 0, 255};
constexpr Bgra kOpaqueWhite{255, 255, 255, 255};

// 32x32, two colours. The top-left 16x8 block is opaque white, the pixel at (0, 31) opaque black,
// the pixel at (31, 31) an inverting one (white under a set mask), (9, 0) opaque black amid the
// white block so the bit order inside a byte shows; everything else is transparent.
DibSpec twoColourSpec() {
    DibSpec layout{.width = 32, .height = 32, .depth = 1, .palette = {0x000000, 0xffffff}};
    layout.pixels.assign(32 * 32, 0);
    layout.mask.assign(32 * 32, 1);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) {
            layout.pixels[y * 32 + x] = 1;
            layout.mask[y * 32 + x] = 0;
        }
    layout.pixels[9] = 0;
    layout.mask[31 * 32 + 0] = 0;
    layout.pixels[31 * 32 + 31] = 1;
    return layout;
}

std::string twoColourCursor() {
    return buildIconFile(2, {{buildDib(twoColourSpec()), 5, 7, 32, 32}});
}

// 32x32 at 32 bits: alpha rises along x, colour along y; the mask is all set so that using it
// instead of the alpha channel would show.
DibSpec alphaSpec() {
    DibSpec layout{.width = 32, .height = 32, .depth = 32};
    for (uint32_t y = 0; y < 32; ++y)
        for (uint32_t x = 0; x < 32; ++x)
            layout.pixels.push_back((x * 8) << 24 | (y * 8) << 16 | 0x40 << 8 | 0x80);
    layout.mask.assign(32 * 32, 1);
    return layout;
}

std::string alphaCursor() {
    return buildIconFile(2, {{buildDib(alphaSpec()), 31, 0, 32, 32}});
}

// A solid 2x2 cursor of one colour, for telling animation frames apart.
std::string solidCursor(uint32_t rgb, uint32_t hotX, uint32_t hotY) {
    const DibSpec layout{.width = 2, .height = 2, .depth = 24, .pixels = {rgb, rgb, rgb, rgb}};
    return buildIconFile(2, {{buildDib(layout), hotX, hotY, 2, 2}});
}

// Two frames (red, green) shown green, red, green for 6, 12 and 30 jiffies.
std::string twoFrameAni() {
    const std::string frames = riffChunk("icon", solidCursor(0xff0000, 0, 1)) +
                               riffChunk("icon", solidCursor(0x00ff00, 1, 0));
    return riffForm("ACON", aniHeaderChunk({2, 3, 10, 3}) + dwordChunk("rate", {6, 12, 30}) +
                                dwordChunk("seq ", {1, 0, 1}) + riffList("fram", frames));
}

void expectWellFormed(const AnimatedCursor& cursor) {
    ASSERT_FALSE(cursor.frames.empty());
    ASSERT_EQ(cursor.sequence.size(), cursor.ratesMs.size());
    for (const CursorImage& f : cursor.frames) {
        ASSERT_TRUE(f.width >= 1 && f.width <= kMaxCursorSide && f.height >= 1 &&
                    f.height <= kMaxCursorSide);
        ASSERT_EQ(f.bgra.size(), size_t(f.width) * f.height * 4);
        ASSERT_TRUE(f.hotX >= 0 && f.hotX < f.width && f.hotY >= 0 && f.hotY < f.height);
    }
    for (int index : cursor.sequence)
        ASSERT_TRUE(index >= 0 && size_t(index) < cursor.frames.size());
}

} // namespace

TEST(CursorFile, TwoColourCursorTakesMaskAndHotSpot) {
    const auto cursor = readCursorFile(twoColourCursor());
    ASSERT_TRUE(cursor);
    ASSERT_EQ(cursor->frames.size(), 1u);
    EXPECT_EQ(cursor->sequence, std::vector<int>{0});
    EXPECT_EQ(cursor->ratesMs, std::vector<uint32_t>{0});
    EXPECT_FALSE(cursor->animated());
    const CursorImage& image = cursor->frames[0];
    EXPECT_EQ(std::tuple(image.width, image.height, image.hotX, image.hotY),
              std::tuple(32, 32, 5, 7));
    // The last pixel is an inverting one, which a colour pointer cannot show: black.
    EXPECT_EQ(
        pixelsAt(image,
                 {{0, 0}, {8, 0}, {9, 0}, {15, 7}, {16, 0}, {0, 8}, {0, 31}, {30, 31}, {31, 31}}),
        (std::vector<Bgra>{kOpaqueWhite, kOpaqueWhite, kOpaqueBlack, kOpaqueWhite, kClear, kClear,
                           kOpaqueBlack, kClear, kOpaqueBlack}));
}

TEST(CursorFile, ThirtyTwoBitAlphaWinsOverMaskUnlessAllZero) {
    const auto cursor = readCursorFile(alphaCursor());
    ASSERT_TRUE(cursor);
    const CursorImage& image = cursor->frames[0];
    EXPECT_EQ(std::pair(image.hotX, image.hotY), std::pair(31, 0));
    EXPECT_EQ(
        pixelsAt(image, {{0, 0}, {3, 5}, {31, 31}}),
        (std::vector<Bgra>{{0x80, 0x40, 0, 0}, {0x80, 0x40, 40, 24}, {0x80, 0x40, 248, 248}}));

    // The same picture without alpha, and without the mask that it then needs.
    DibSpec layout = alphaSpec();
    for (uint32_t& p : layout.pixels) p &= 0xffffff;
    layout.mask.assign(32 * 32, 0);
    layout.mask[0] = 1;
    layout.pixels[1] = 0; // masked black: transparent
    layout.mask[1] = 1;
    const auto masked = readCursorFile(buildIconFile(2, {{buildDib(layout), 0, 0, 32, 32}}));
    ASSERT_TRUE(masked);
    // A masked colour is inverting (black); masked black is clear.
    EXPECT_EQ(pixelsAt(masked->frames[0], {{0, 0}, {1, 0}, {2, 1}}),
              (std::vector<Bgra>{kOpaqueBlack, kClear, {0x80, 0x40, 8, 255}}));

    layout.writeMask = false;
    EXPECT_FALSE(readCursorFile(buildIconFile(2, {{buildDib(layout), 0, 0, 32, 32}})));
    // With real alpha the mask may be left out.
    DibSpec noMask = alphaSpec();
    noMask.writeMask = false;
    EXPECT_TRUE(readCursorFile(buildIconFile(2, {{buildDib(noMask), 0, 0, 32, 32}})));
}

TEST(CursorFile, PalettedAndTrueColourDepthsWithRowPadding) {
    // 3x2 pictures: odd widths make every row need padding at every depth.
    const std::vector<uint32_t> palette = {0x000000, 0x102030, 0x405060, 0x708090,
                                           0xa0b0c0, 0xd0e0f0, 0x0a0b0c, 0x0d0e0f};
    for (int depth : {4, 8, 24}) {
        SCOPED_TRACE(depth);
        DibSpec layout{.width = 3, .height = 2, .depth = depth};
        if (depth <= 8) {
            layout.palette = palette;
            layout.pixels = {1, 2, 3, 5, 6, 7};
        } else {
            layout.pixels = {0x102030, 0x405060, 0x708090, 0xd0e0f0, 0x0a0b0c, 0x0d0e0f};
        }
        layout.mask = {0, 0, 0, 0, 0, 1};
        const auto cursor = readCursorFile(buildIconFile(2, {{buildDib(layout), 1, 1}}));
        ASSERT_TRUE(cursor);
        const CursorImage& image = cursor->frames[0];
        // The last one is a masked non-black pixel.
        EXPECT_EQ(pixelsAt(image, {{0, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}}),
                  (std::vector<Bgra>{{0x30, 0x20, 0x10, 255},
                                     {0x90, 0x80, 0x70, 255},
                                     {0xf0, 0xe0, 0xd0, 255},
                                     {0x0c, 0x0b, 0x0a, 255},
                                     kOpaqueBlack}));
    }

    // An index past the colours the file declares is refused.
    const DibSpec layout{.width = 2, .depth = 4, .palette = {0, 0xffffff}, .pixels = {1, 2}};
    EXPECT_FALSE(readCursorFile(buildIconFile(2, {{buildDib(layout), 0, 0}})));
}

TEST(CursorFile, ChoosesThirtyTwoSquareElseLargest) {
    auto square = [](int side, uint32_t rgb, int depth = 24) {
        return buildDib({.width = side,
                         .height = side,
                         .depth = depth,
                         .pixels = std::vector<uint32_t>(size_t(side) * side,
                                                         depth == 32 ? rgb | 0xff000000 : rgb)});
    };
    // Each file's choice shows in its width, hot spot and first pixel; of two 32x32 pictures the
    // deeper one wins.
    const std::vector<DirEntry> files[] = {
        {{square(16, 0x0000ff), 1, 1}, {square(32, 0x00ff00), 2, 2}, {square(48, 0xff0000), 3, 3}},
        {{square(16, 0x0000ff), 1, 1}, {square(48, 0xff0000), 3, 4}},
        {{square(32, 0x0000ff, 32), 1, 1}, {square(32, 0xff0000, 24), 9, 9}},
    };
    std::vector<std::tuple<int, int, int, Bgra>> got;
    for (const auto& entries : files) {
        const auto cursor = readCursorFile(buildIconFile(2, entries));
        ASSERT_TRUE(cursor);
        const CursorImage& f = cursor->frames[0];
        got.emplace_back(f.width, f.hotX, f.hotY, pixelAt(f, 0, 0));
    }
    EXPECT_EQ(got, (std::vector<std::tuple<int, int, int, Bgra>>{{32, 2, 2, {0, 255, 0, 255}},
                                                                 {48, 3, 4, {0, 0, 255, 255}},
                                                                 {32, 1, 1, {255, 0, 0, 255}}}));
}

TEST(CursorFile, IconsUseCentreAndHotSpotsStayInside) {
    DibSpec layout = twoColourSpec();
    const auto icon = readCursorFile(buildIconFile(1, {{buildDib(layout), 1, 1, 32, 32}}));
    const auto outside = readCursorFile(buildIconFile(2, {{buildDib(layout), 40, 65535, 32, 32}}));
    ASSERT_TRUE(icon && outside);
    EXPECT_EQ(std::pair(icon->frames[0].hotX, icon->frames[0].hotY), std::pair(16, 16));
    EXPECT_EQ(std::pair(outside->frames[0].hotX, outside->frames[0].hotY), std::pair(31, 31));
}

TEST(CursorFile, EmbeddedPng) {
    std::vector<uint32_t> argb(32 * 32, 0x00000000);
    argb[0] = 0xff112233;
    argb[32 * 31 + 5] = 0x80445566;
    const auto cursor = readCursorFile(buildIconFile(2, {{buildPng(32, 32, argb), 4, 6, 32, 32}}));
    ASSERT_TRUE(cursor);
    const CursorImage& image = cursor->frames[0];
    EXPECT_EQ(std::tuple(image.width, image.hotX, image.hotY), std::tuple(32, 4, 6));
    EXPECT_EQ(pixelsAt(image, {{0, 0}, {5, 31}, {1, 0}}),
              (std::vector<Bgra>{{0x33, 0x22, 0x11, 0xff}, {0x66, 0x55, 0x44, 0x80}, kClear}));

    // A PNG whose pixel data is damaged after a sound header.
    std::string broken = buildPng(32, 32, argb);
    broken.resize(broken.size() - 20);
    EXPECT_FALSE(readCursorFile(buildIconFile(2, {{broken, 0, 0, 32, 32}})));
}

TEST(CursorFile, AnimatedWithRateAndSequence) {
    const auto cursor = readCursorFile(twoFrameAni());
    ASSERT_TRUE(cursor);
    expectWellFormed(*cursor);
    EXPECT_TRUE(cursor->animated());
    ASSERT_EQ(cursor->frames.size(), 2u);
    EXPECT_EQ(std::pair(pixelAt(cursor->frames[0], 0, 0), pixelAt(cursor->frames[1], 1, 1)),
              std::pair(Bgra{0, 0, 255, 255}, Bgra{0, 255, 0, 255}));
    EXPECT_EQ(std::pair(cursor->frames[0].hotY, cursor->frames[1].hotX), std::pair(1, 1));
    EXPECT_EQ(cursor->sequence, (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(cursor->ratesMs, (std::vector<uint32_t>{100, 200, 500}));
}

TEST(CursorFile, AnimatedWithoutSequenceOrRateUsesOrderAndHeaderRate) {
    const std::string frames = riffChunk("icon", solidCursor(0xff0000, 0, 0)) +
                               riffChunk("icon", solidCursor(0x0000ff, 0, 0)) +
                               riffChunk("icon", solidCursor(0x00ff00, 0, 0));
    // An informational list and an unknown chunk are passed over.
    const std::string file =
        riffForm("ACON", riffList("INFO", riffChunk("INAM", "abc")) + aniHeaderChunk({3, 3, 3, 1}) +
                             riffChunk("junk", "x") + riffList("fram", frames));
    const auto cursor = readCursorFile(file);
    ASSERT_TRUE(cursor);
    expectWellFormed(*cursor);
    EXPECT_EQ(cursor->sequence, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(cursor->ratesMs, (std::vector<uint32_t>{50, 50, 50}));
    EXPECT_EQ(pixelAt(cursor->frames[2], 0, 0), (Bgra{0, 255, 0, 255}));
}

TEST(CursorFile, JiffiesToMilliseconds) {
    std::vector<uint32_t> ms;
    for (uint32_t jiffies : {0u, 1u, 2u, 60u, 100000000u, UINT32_MAX})
        ms.push_back(jiffiesToMs(jiffies));
    // The last saturates rather than wrapping.
    EXPECT_EQ(ms, (std::vector<uint32_t>{17, 17, 33, 1000, 1666666667, UINT32_MAX}));
}

TEST(CursorFile, TruncatedFilesAreRefused) {
    for (const std::string& file : {twoColourCursor(), alphaCursor(), twoFrameAni()}) {
        for (size_t length = 0; length < file.size(); ++length)
            ASSERT_FALSE(readCursorFile(std::string_view(file).substr(0, length))) << length;
        ASSERT_TRUE(readCursorFile(file));
    }
}

TEST(CursorFile, CorruptedDirectoryAndBitmapFieldsAreRefused) {
    const std::string good = twoColourCursor();
    const size_t dib = 6 + 16;
    struct Edit {
        const char* what;
        size_t at;
        uint32_t value;
        bool wide;
    };
    const Edit edits[] = {
        {"reserved", 0, 1, false},
        {"type", 2, 3, false},
        {"no entries", 4, 0, false},
        {"more entries than data", 4, 2, false},
        {"offset into directory", 18, 6, true},
        {"offset past end", 18, 100000, true},
        {"size past end", 14, 100000, true},
        {"size zero", 14, 0, true},
        {"header size", dib, 12, true},
        {"header larger than data", dib, 5000, true},
        {"width zero", dib + 4, 0, true},
        {"width too large", dib + 4, 257, true},
        {"negative width", dib + 4, 0xffffffe0, true},
        {"odd height", dib + 8, 63, true},
        {"top-down", dib + 8, uint32_t(-64), true},
        {"height too large", dib + 8, 514, true},
        {"planes", dib + 12, 2, false},
        {"depth 16", dib + 14, 16, false},
        {"depth 2", dib + 14, 2, false},
        {"compressed", dib + 16, 1, true},
        {"palette beyond depth", dib + 32, 3, true},
    };
    for (const Edit& e : edits) {
        std::string file = good;
        (e.wide ? setLe32 : setLe16)(file, e.at, e.value);
        EXPECT_FALSE(readCursorFile(file)) << e.what;
    }
    EXPECT_FALSE(readCursorFile(""));
    EXPECT_FALSE(readCursorFile("not a cursor at all"));
}

TEST(CursorFile, CorruptedAnimationsAreRefused) {
    const std::string frame = riffChunk("icon", solidCursor(0xff0000, 0, 0));
    const std::string twoFrames = riffList("fram", frame + frame);
    auto ani = [&](const std::string& chunks) { return riffForm("ACON", chunks); };
    struct Case {
        const char* what;
        std::string file;
    };
    const Case cases[] = {
        {"no header", ani(twoFrames)},
        {"short header", ani(riffChunk("anih", std::string(20, '\0')) + twoFrames)},
        {"raw bitmap frames", ani(aniHeaderChunk({2, 2, 1, 0}) + twoFrames)},
        {"zero frames", ani(aniHeaderChunk({0, 0, 1, 1}) + twoFrames)},
        {"too many frames", ani(aniHeaderChunk({2000, 2000, 1, 1}) + twoFrames)},
        {"fewer frames than declared", ani(aniHeaderChunk({3, 3, 1, 1}) + twoFrames)},
        {"sequence index out of range",
         ani(aniHeaderChunk({2, 2, 1, 3}) + dwordChunk("seq ", {0, 2}) + twoFrames)},
        {"sequence shorter than steps",
         ani(aniHeaderChunk({2, 3, 1, 3}) + dwordChunk("seq ", {0, 1}) + twoFrames)},
        {"zero steps", ani(aniHeaderChunk({2, 0, 1, 3}) + dwordChunk("seq ", {}) + twoFrames)},
        {"too many steps", ani(aniHeaderChunk({2, 5000, 1, 3}) +
                               dwordChunk("seq ", std::vector<uint32_t>(5000, 0)) + twoFrames)},
        {"rates shorter than steps",
         ani(aniHeaderChunk({2, 2, 1, 1}) + dwordChunk("rate", {1}) + twoFrames)},
        {"two headers",
         ani(aniHeaderChunk({2, 2, 1, 1}) + aniHeaderChunk({2, 2, 1, 1}) + twoFrames)},
        {"frame not a cursor",
         ani(aniHeaderChunk({1, 1, 1, 1}) + riffList("fram", riffChunk("icon", "RIFF....ACON")))},
        {"wrong form", riffForm("AVI ", aniHeaderChunk({2, 2, 1, 1}) + twoFrames)},
    };
    for (const Case& c : cases) EXPECT_FALSE(readCursorFile(c.file)) << c.what;

    // A chunk claiming more than the form holds.
    std::string file = twoFrameAni();
    setLe32(file, 12 + 4, 0x7ffffff0);
    EXPECT_FALSE(readCursorFile(file));

    // A form size field beyond the data is tolerated as long as the chunks fit.
    file = twoFrameAni();
    setLe32(file, 4, 0xfffffff0);
    EXPECT_TRUE(readCursorFile(file));
}

TEST(CursorFile, EveryByteFlipIsSafe) {
    // Whatever single byte is damaged, the reader either refuses or returns a sound cursor.
    for (const std::string& good : {twoColourCursor(), twoFrameAni()}) {
        for (size_t at = 0; at < good.size(); ++at)
            for (uint8_t flip : {uint8_t(0x01), uint8_t(0x80), uint8_t(0xff)}) {
                std::string file = good;
                file[at] = char(uint8_t(file[at]) ^ flip);
                SCOPED_TRACE(at);
                if (const auto cursor = readCursorFile(file)) expectWellFormed(*cursor);
            }
    }
}
