#include "graphics/BmpReader.h"
#include "Pictures.h"

#include <gtest/gtest.h>

#include <tuple>

namespace orv {
namespace {

using test::BmpSpec;
using test::buildBmp;
using test::bytes;
using test::Colours;
using test::coloursAt;
using Rows = std::vector<std::vector<int>>;

// Palette indices of a whole 8-bit surface, top row first.
Rows indices(const Surface& s) {
    Rows rows(s.height);
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) rows[y].push_back(pixelIndex(s, x, y));
    return rows;
}

BmpSpec eightBit(int width, int height, std::string pixels) {
    return {.width = width,
            .height = height,
            .bitsPerPixel = 8,
            .colorsUsed = 4,
            .palette = {0x000000, 0xff0000, 0x00ff00, 0x0000ff},
            .pixels = std::move(pixels)};
}

// Plain 24-bit rows (bottom-up, padded, or top-down), the OS/2 headers with their short
// palettes and 4-bit run-length codes are checked against the public suite.

// Low depths become 8-bit with the same palette; the colours used count, when not 0, tells how
// many entries are read before the pixels.
TEST(BmpReader, PalettisedDepthsKeepTheirIndicesAndPalette) {
    std::string sixteen;
    for (int i = 15; i >= 0; --i) sixteen += static_cast<char>(i);
    const struct {
        uint16_t depth;
        int width, height;
        uint32_t colorsUsed;
        std::string pixels;
        Rows want;
    } cases[] = {
        {1, 10, 1, 0, bytes({0b10110000, 0b01000000, 0, 0}), {{1, 0, 1, 1, 0, 0, 0, 0, 0, 1}}},
        {2, 5, 1, 0, bytes({0b00011011, 0b10000000, 0, 0}), {{0, 1, 2, 3, 2}}},
        {4, 3, 2, 12, bytes({0x9a, 0xb0, 0, 0, 0x12, 0x30, 0, 0}), {{1, 2, 3}, {9, 10, 11}}},
        {8, 4, 4, 16, sixteen, {{3, 2, 1, 0}, {7, 6, 5, 4}, {11, 10, 9, 8}, {15, 14, 13, 12}}},
    };
    for (const auto& c : cases) {
        BmpSpec layout{.width = c.width, .height = c.height, .bitsPerPixel = c.depth};
        layout.colorsUsed = c.colorsUsed;
        layout.pixels = c.pixels;
        std::vector<uint32_t> want(256, 0);
        for (uint32_t i = 0; i < (c.colorsUsed ? c.colorsUsed : 1u << c.depth); ++i)
            layout.palette.push_back(want[i] = 0x102030 * i);
        Surface s;
        auto r = readBmpFile(s, buildBmp(layout));
        ASSERT_TRUE(r) << c.depth << ": " << r.error;
        EXPECT_EQ(s.bitsPerPixel, 8) << c.depth;
        EXPECT_EQ(indices(s), c.want) << c.depth;
        std::vector<uint32_t> palette;
        for (const PaletteEntry& e : s.palette)
            palette.push_back(uint32_t{e.red} << 16 | uint32_t{e.green} << 8 | e.blue);
        EXPECT_EQ(palette, want) << c.depth;
    }
}

// One row of 16- or 32-bit pixels, with or without bit-field masks, in several header sizes.
TEST(BmpReader, DirectColourChannelsAndTheirMasks) {
    const std::vector<uint32_t> tenBitMasks = {0x3ff00000, 0x000ffc00, 0x000003ff, 0xc0000000};
    const std::vector<uint32_t> pair = {0x44332211, 0xddccbbaa};
    const uint32_t tenBit = (0x3ffu << 20) | (0x200u << 10) | 0x001; // red 1023, green 512, blue 1
    const struct {
        uint16_t depth;
        uint32_t compression, headerSize;
        std::vector<uint32_t> masks, pixels, colours;
    } cases[] = {
        // White, pure blue, blue 16 of 31 (16 * 255 / 31 = 131.6), a top bit of no channel.
        {16, 0, 40, {}, {0x7fff, 0x001f, 0x0010, 0x8000}, {0xffffff, 0x0000ff, 0x000084, 0}},
        // 5-6-5 fields; green 1 of 63 is 0x04.
        {16,
         3,
         40,
         {0xf800, 0x7e0, 0x1f},
         {0xf800, 0x7e0, 0x20, 0x1f},
         {0xff0000, 0xff00, 0x400, 0xff}},
        {32, 0, 40, {}, pair, {0x332211, 0xccbbaa}}, // blue, green, red, unused
        {32, 3, 40, {0xff000000, 0x00ff0000, 0x0000ff00}, pair, {0x443322, 0xddccbb}},
        // The form with an alpha mask puts four masks after a 40-byte header.
        {32, 6, 40, {0x0000ff00, 0x00ff0000, 0xff000000, 0xff}, pair, {0x223344, 0xbbccdd}},
        // Masks inside larger headers; ten-bit channels narrow (512 * 255 / 1023 = 127.6).
        {32, 3, 56, tenBitMasks, {tenBit, 0}, {0xff8000, 0}},
        {32, 3, 124, tenBitMasks, {tenBit, 0}, {0xff8000, 0}},
        // Without bit-field compression the masks of a large header are not used.
        {32, 0, 124, {0x000000ff, 0x0000ff00, 0x00ff0000, 0}, pair, {0x332211, 0xccbbaa}},
    };
    for (const auto& c : cases) {
        BmpSpec layout{.headerSize = c.headerSize,
                       .width = int32_t(c.colours.size()),
                       .bitsPerPixel = c.depth,
                       .compression = c.compression,
                       .masks = c.masks};
        for (uint32_t p : c.pixels)
            c.depth == 16 ? test::put16(layout.pixels, p) : test::put32(layout.pixels, p);
        Surface s;
        auto r = readBmpFile(s, buildBmp(layout));
        const size_t at = &c - cases;
        ASSERT_TRUE(r) << at << ": " << r.error;
        EXPECT_EQ(s.bitsPerPixel, 24) << at;
        std::vector<uint32_t> got;
        for (int x = 0; x < s.width; ++x) got.push_back(pixelColor(s, x, 0));
        EXPECT_EQ(got, c.colours) << at;
    }
}

TEST(BmpReader, PixelDataIsTakenFromTheFilesOffset) {
    BmpSpec layout = eightBit(2, 1, bytes({1, 3, 0, 0}));
    layout.gap = "garbage!";
    Surface s;
    ASSERT_TRUE(readBmpFile(s, buildBmp(layout)));
    EXPECT_EQ(coloursAt(s, {{0, 0}, {1, 0}}), (Colours{0xff0000, 0x0000ff}));

    // The last row may lack its padding.
    layout.fileSizeField = 0;
    std::string file = buildBmp(layout);
    file.resize(file.size() - 2);
    ASSERT_TRUE(readBmpFile(s, file));
    file.pop_back();
    EXPECT_FALSE(readBmpFile(s, file));
}

TEST(BmpReader, RunLengthEightBitCodes) {
    BmpSpec layout = eightBit(6, 3, "");
    layout.colorsUsed = 8;
    layout.palette.resize(8, 0x808080);
    layout.compression = 1;
    layout.pixels = bytes({3, 1,             // three of index 1
                           0, 3, 2, 3, 4, 0, // absolute run of three, padded to even
                           0, 0,             // end of line
                           1, 5,             // one of index 5
                           0, 2, 2, 1,       // delta: two right, one up
                           2, 6,             // two of index 6
                           0, 1});           // end of bitmap
    Surface s;
    auto r = readBmpFile(s, buildBmp(layout));
    ASSERT_TRUE(r) << r.error;
    EXPECT_EQ(indices(s), (Rows{{0, 0, 0, 6, 6, 0}, {5, 0, 0, 0, 0, 0}, {1, 1, 1, 2, 3, 4}}));

    // Ending early leaves the remaining pixels at index 0; so does a missing end-of-bitmap code
    // after the last row has been ended.
    layout.pixels = bytes({6, 7, 0, 1});
    ASSERT_TRUE(readBmpFile(s, buildBmp(layout)));
    EXPECT_EQ(indices(s), (Rows{{0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, {7, 7, 7, 7, 7, 7}}));
    layout.pixels = bytes({6, 1, 0, 0, 6, 2, 0, 0, 6, 3, 0, 0});
    ASSERT_TRUE(readBmpFile(s, buildBmp(layout)));
    EXPECT_EQ(indices(s)[0], (std::vector<int>{3, 3, 3, 3, 3, 3}));
}

TEST(BmpReader, DimensionCap) {
    BmpSpec layout{.width = kMaxSurfaceDimension, .bitsPerPixel = 1, .palette = {0, 0xffffff}};
    layout.pixels.assign(kMaxSurfaceDimension / 8, '\xff');
    Surface s;
    ASSERT_TRUE(readBmpFile(s, buildBmp(layout)));
    EXPECT_EQ(pixelColor(s, kMaxSurfaceDimension - 1, 0), 0xffffffu);
    layout.width = kMaxSurfaceDimension + 1;
    layout.pixels.assign(kMaxSurfaceDimension / 8 + 4, '\xff');
    EXPECT_FALSE(readBmpFile(s, buildBmp(layout)));

    // A caller may ask for a smaller cap; run-length pictures of any claimed size are cheap to
    // write, so this bounds memory for untrusted data.
    BmpSpec rle = eightBit(9, 9, bytes({0, 1}));
    rle.compression = 1;
    EXPECT_TRUE(readBmpFile(s, buildBmp(rle), 9));
    auto r = readBmpFile(s, buildBmp(rle), 8);
    EXPECT_FALSE(r);
    EXPECT_NE(r.error.find("limit"), std::string::npos) << r.error;
}

// Every one of these must be refused with a reason and leave the surface empty. Faults that the
// public suite's bad files already show (planes, bit count, negative width, file and image size
// fields, densities, huge colour tables, empty masks, top-down RLE) are tested there, and every
// cut-short file below.
TEST(BmpReader, RefusesBrokenFiles) {
    const BmpSpec good = eightBit(2, 2, bytes({1, 2, 0, 0, 3, 0, 0, 0}));
    BmpSpec rle = eightBit(4, 2, "");
    rle.compression = 1;
    const BmpSpec sixteen{.bitsPerPixel = 16, .compression = 3, .pixels = bytes({0, 0, 0, 0})};

    std::vector<std::pair<const char*, std::string>> cases;
    auto add = [&](const char* name, BmpSpec layout, auto change) {
        change(layout);
        cases.emplace_back(name, buildBmp(layout));
    };
    auto set = [&](const char* name, const BmpSpec& layout) { add(name, layout, [](auto&) {}); };
    auto addRle = [&](const char* name, std::initializer_list<int> codes) {
        add(name, rle, [&](BmpSpec& s) { s.pixels = bytes(codes); });
    };

    cases.emplace_back("signature", "BA" + buildBmp(good).substr(2));
    add("header size 66", good, [](BmpSpec& s) { s.headerSize = 66; });
    add("width 0", good, [](BmpSpec& s) { s.width = 0; });
    add("height 0", good, [](BmpSpec& s) { s.height = 0; });
    add("huge height", good, [](BmpSpec& s) { s.height = -2147483647 - 1; });
    add("depth 64", good, [](BmpSpec& s) { s.bitsPerPixel = 64; });
    add("jpeg", good, [](BmpSpec& s) { s.compression = 4; });
    add("png", good, [](BmpSpec& s) { s.compression = 5; });
    add("compression 7", good, [](BmpSpec& s) { s.compression = 7; });
    add("rle4 at 8 bits", good, [](BmpSpec& s) { s.compression = 2; });
    add("bit fields at 8 bits", good, [](BmpSpec& s) { s.compression = 3; });
    add("os2 huffman", sixteen, [](BmpSpec& s) {
        s.headerSize = 64;
        s.masks = {0x7c00, 0x3e0, 0x1f};
    });
    add("colour table over depth", good, [](BmpSpec& s) {
        s.bitsPerPixel = 4;
        s.colorsUsed = 17;
        s.palette.assign(17, 0);
    });
    add("colour table into pixels", good, [](BmpSpec& s) { s.colorsUsed = 5; });
    set("24-bit colour table into pixels", {.colorsUsed = 5, .pixels = bytes({0, 0, 0, 0})});
    add("index beyond colour table", good, [](BmpSpec& s) { s.pixels[1] = 4; });
    add("offset inside headers", good, [](BmpSpec& s) { s.pixelOffsetField = 20; });
    add("offset past end", good, [](BmpSpec& s) { s.pixelOffsetField = 1000; });
    set("density 10000000:1", {.xDensity = 30000000, .yDensity = 3, .pixels = bytes({0, 0, 0, 0})});
    add("overlapping masks", sixteen, [](BmpSpec& s) { s.masks = {0xff00, 0x0ff0, 0xf}; });
    add("gappy mask", sixteen, [](BmpSpec& s) { s.masks = {0xf000, 0x0e00, 0x0101}; });
    add("mask wider than pixel", sixteen, [](BmpSpec& s) { s.masks = {0x1f0000, 0x3e0, 0x1f}; });
    set("masks missing", {.bitsPerPixel = 16, .compression = 3});
    set("bit fields at 24 bits", {.compression = 3, .pixels = bytes({0, 0, 0, 0})});
    addRle("rle run past row end", {5, 1, 0, 1});
    addRle("rle absolute past row end", {2, 1, 0, 3, 1, 1, 1, 0, 0, 1});
    addRle("rle delta past right edge", {0, 2, 5, 0, 0, 1});
    addRle("rle delta past top", {0, 2, 0, 3, 0, 1});
    addRle("rle run above top", {0, 0, 0, 0, 1, 1, 0, 1});
    addRle("rle end of line past top", {0, 0, 0, 0, 0, 0, 0, 1});
    addRle("rle index beyond table", {2, 9, 0, 1});
    addRle("rle absolute index beyond table", {0, 3, 1, 2, 4, 0, 0, 1});
    add("rle4 index beyond table", rle, [](BmpSpec& s) {
        s.bitsPerPixel = 4;
        s.compression = 2;
        s.pixels = bytes({3, 0x19, 0, 1});
    });

    for (const auto& [name, file] : cases) {
        Surface s;
        ASSERT_TRUE(createSurface(s, 3, 3, 24));
        s.transMode = TransMode::Alpha;
        const BmpReadResult r = readBmpFile(s, file);
        EXPECT_FALSE(r) << name;
        EXPECT_FALSE(r.error.empty()) << name;
        EXPECT_TRUE(s.empty() && s.width == 0) << name;
        EXPECT_EQ(s.transMode, TransMode::Alpha) << name;
    }
    Surface s;
    EXPECT_TRUE(readBmpFile(s, buildBmp(good)));
}

TEST(BmpReader, EveryCutShortFileIsRefused) {
    BmpSpec layout{.width = 5, .height = 4, .pixels = std::string(16 * 4, '\x5a')};
    BmpSpec rle =
        eightBit(4, 3, bytes({4, 1, 0, 0, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 1, 0, 2, 2, 0, 1}));
    rle.compression = 1;
    // With the real file size field, and without it (then only the last row's padding may go).
    const std::string full = buildBmp(layout);
    layout.fileSizeField = rle.fileSizeField = 0;
    const std::pair<std::string, size_t> files[] = {
        {full, 0}, {buildBmp(layout), 1}, {buildBmp(rle), 0}};
    for (const auto& [file, padding] : files) {
        Surface s;
        ASSERT_TRUE(readBmpFile(s, file));
        for (size_t n = 0; n + padding < file.size(); ++n)
            EXPECT_FALSE(readBmpFile(s, std::string_view(file).substr(0, n))) << n;
    }
}

TEST(BmpReader, SuccessReplacesThePictureAndKeepsAttributes) {
    Surface s;
    ASSERT_TRUE(createSurface(s, 640, 480, 24));
    s.transMode = TransMode::Keyed;
    s.keyIndex = 4;
    s.cellCount = 2;
    ASSERT_TRUE(readBmpFile(s, buildBmp(eightBit(2, 1, bytes({1, 1, 0, 0})))));
    EXPECT_EQ(std::tuple(s.width, s.bitsPerPixel, s.stride, s.pixels.size()),
              std::tuple(2, 8, 4, size_t{4}));
    EXPECT_TRUE(s.transMode == TransMode::Keyed && s.keyIndex == 4 && s.cellCount == 2);
}

} // namespace
} // namespace orv
