#include "graphics/BmpReader.h"
#include "Pictures.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::BmpSpec;
using test::buildBmp;
using test::bytes;
using test::coloursAt;

// Palette indices of a whole 8-bit surface, top row first.
std::vector<std::vector<int>> indices(const Surface& s) {
    std::vector<std::vector<int>> rows(s.height);
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

TEST(BmpReader, TwentyFourBitRowsAreBottomUpAndPadded) {
    // Bottom row first, each 9 bytes of blue-green-red plus 3 of padding.
    BmpSpec layout{.width = 3,
                   .height = 2,
                   .pixels = bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0}) +
                             bytes({10, 11, 12, 13, 14, 15, 16, 17, 18, 0, 0, 0})};
    Surface s;
    auto r = readBmpFile(s, buildBmp(layout));
    ASSERT_TRUE(r) << r.error;
    EXPECT_TRUE(r.error.empty());
    EXPECT_EQ(s.width, 3);
    EXPECT_EQ(s.height, 2);
    EXPECT_EQ(s.bitsPerPixel, 24);
    EXPECT_TRUE(s.palette.empty());
    // (0, 0) top-left comes from the file's last row.
    EXPECT_EQ(coloursAt(s, {{0, 0}, {2, 0}, {0, 1}, {2, 1}}),
              (std::vector<uint32_t>{0x0c0b0au, 0x121110u, 0x030201u, 0x090807u}));
}

TEST(BmpReader, TopDownFileGivesTheSamePictureAsBottomUp) {
    const std::string top = bytes({1, 2, 3, 0}), middle = bytes({0, 0, 1, 0}),
                      bottom = bytes({3, 3, 2, 0});
    BmpSpec up = eightBit(3, 3, bottom + middle + top);
    BmpSpec down = eightBit(3, -3, top + middle + bottom);
    Surface a, b;
    ASSERT_TRUE(readBmpFile(a, buildBmp(up)));
    ASSERT_TRUE(readBmpFile(b, buildBmp(down)));
    const std::vector<std::vector<int>> want = {{1, 2, 3}, {0, 0, 1}, {3, 3, 2}};
    EXPECT_EQ(indices(a), want);
    EXPECT_EQ(indices(b), want);
    EXPECT_EQ(a.pixels, b.pixels);
    EXPECT_EQ(b.height, 3);
}

TEST(BmpReader, EightBitKeepsIndicesAndReadsColoursUsedEntries) {
    // Colours used 16 at 8 bits: 16 entries are read, then the pixels follow.
    BmpSpec layout{.width = 4, .height = 4, .bitsPerPixel = 8, .colorsUsed = 16};
    for (uint32_t i = 0; i < 16; ++i) layout.palette.push_back(0x010203 * (i + 1));
    for (int i = 0; i < 16; ++i) layout.pixels += static_cast<char>(15 - i);
    const std::string file = buildBmp(layout);
    ASSERT_EQ(file.size(), 14u + 40 + 16 * 4 + 16);

    Surface s;
    ASSERT_TRUE(readBmpFile(s, file));
    EXPECT_EQ(s.bitsPerPixel, 8);
    ASSERT_EQ(s.paletteEntries(), 256);
    for (int i = 0; i < 16; ++i) {
        const uint32_t c = 0x010203 * (i + 1);
        EXPECT_EQ(s.palette[i].red, (c >> 16) & 0xff);
        EXPECT_EQ(s.palette[i].green, (c >> 8) & 0xff);
        EXPECT_EQ(s.palette[i].blue, c & 0xff);
    }
    for (int i = 16; i < 256; ++i) EXPECT_EQ(s.palette[i].red | s.palette[i].blue, 0);
    // Memory row 0 (the bottom) holds 15 14 13 12.
    EXPECT_EQ(indices(s), (std::vector<std::vector<int>>{
                              {3, 2, 1, 0}, {7, 6, 5, 4}, {11, 10, 9, 8}, {15, 14, 13, 12}}));
    EXPECT_EQ(pixelColor(s, 0, 0), 0x010203u * 4);
}

TEST(BmpReader, LowDepthsBecomeEightBitWithTheSamePalette) {
    BmpSpec one{.width = 10,
                .bitsPerPixel = 1,
                .palette = {0x102030, 0xa0b0c0},
                .pixels = bytes({0b10110000, 0b01000000, 0, 0})};
    Surface s;
    auto r = readBmpFile(s, buildBmp(one));
    ASSERT_TRUE(r) << r.error;
    EXPECT_EQ(s.bitsPerPixel, 8);
    EXPECT_EQ(indices(s)[0], (std::vector<int>{1, 0, 1, 1, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(pixelColor(s, 0, 0), 0xa0b0c0u);
    EXPECT_EQ(pixelColor(s, 1, 0), 0x102030u);

    BmpSpec two = one;
    two.bitsPerPixel = 2;
    two.width = 5;
    two.palette = {0, 1, 2, 3};
    two.pixels = bytes({0b00011011, 0b10000000, 0, 0});
    ASSERT_TRUE(readBmpFile(s, buildBmp(two)));
    EXPECT_EQ(indices(s)[0], (std::vector<int>{0, 1, 2, 3, 2}));

    BmpSpec four = one;
    four.bitsPerPixel = 4;
    four.width = 3;
    four.height = 2;
    four.colorsUsed = 12;
    four.palette.assign(12, 0);
    four.pixels = bytes({0x9a, 0xb0, 0, 0, 0x12, 0x30, 0, 0});
    ASSERT_TRUE(readBmpFile(s, buildBmp(four)));
    EXPECT_EQ(indices(s), (std::vector<std::vector<int>>{{1, 2, 3}, {9, 10, 11}}));
}

// One row of 16- or 32-bit pixels, with or without bit-field masks, in several header sizes.
TEST(BmpReader, DirectColourChannelsAndTheirMasks) {
    const std::string pair = bytes({0x11, 0x22, 0x33, 0x44, 0xaa, 0xbb, 0xcc, 0xdd});
    std::string tenBit; // red 1023, green 512, blue 1; then black
    test::put32(tenBit, (0x3ffu << 20) | (0x200u << 10) | 0x001);
    test::put32(tenBit, 0);
    const std::vector<uint32_t> tenBitMasks = {0x3ff00000, 0x000ffc00, 0x000003ff, 0xc0000000};
    const struct {
        const char* name;
        uint16_t depth;
        uint32_t compression;
        std::vector<uint32_t> masks;
        uint32_t headerSize;
        std::string pixels;
        std::vector<uint32_t> colours;
    } cases[] = {
        // White, pure blue, blue 16 of 31 (16 * 255 / 31 = 131.6), a top bit of no channel.
        {"16 bits, 5-5-5",
         16,
         0,
         {},
         40,
         bytes({0xff, 0x7f, 0x1f, 0x00, 0x10, 0x00, 0x00, 0x80}),
         {0xffffff, 0x0000ff, 0x000084, 0x000000}},
        // Green 1 of 63 is 0x04.
        {"16 bits, 5-6-5 fields",
         16,
         3,
         {0xf800, 0x07e0, 0x001f},
         40,
         bytes({0x00, 0xf8, 0xe0, 0x07, 0x20, 0x00, 0x1f, 0x00}),
         {0xff0000, 0x00ff00, 0x000400, 0x0000ff}},
        {"32 bits: blue, green, red, unused", 32, 0, {}, 40, pair, {0x332211, 0xccbbaa}},
        {"32 bits, red in the top byte",
         32,
         3,
         {0xff000000, 0x00ff0000, 0x0000ff00},
         40,
         pair,
         {0x443322, 0xddccbb}},
        // The form with an alpha mask puts four masks after a 40-byte header.
        {"32 bits, four masks",
         32,
         6,
         {0x0000ff00, 0x00ff0000, 0xff000000, 0x000000ff},
         40,
         pair,
         {0x223344, 0xbbccdd}},
        // Masks inside larger headers; ten-bit channels narrow (512 * 255 / 1023 = 127.6).
        {"ten-bit fields, 56-byte header", 32, 3, tenBitMasks, 56, tenBit, {0xff8000, 0}},
        {"ten-bit fields, 124-byte header", 32, 3, tenBitMasks, 124, tenBit, {0xff8000, 0}},
        // Without bit-field compression the masks of a large header are not used.
        {"masks without bit fields",
         32,
         0,
         {0x000000ff, 0x0000ff00, 0x00ff0000, 0},
         124,
         pair,
         {0x332211, 0xccbbaa}},
    };
    for (const auto& c : cases) {
        BmpSpec layout{.headerSize = c.headerSize,
                       .width = int32_t(c.colours.size()),
                       .bitsPerPixel = c.depth,
                       .compression = c.compression,
                       .masks = c.masks,
                       .pixels = c.pixels};
        Surface s;
        auto r = readBmpFile(s, buildBmp(layout));
        ASSERT_TRUE(r) << c.name << ": " << r.error;
        EXPECT_EQ(s.bitsPerPixel, 24) << c.name;
        std::vector<uint32_t> got;
        for (int x = 0; x < s.width; ++x) got.push_back(pixelColor(s, x, 0));
        EXPECT_EQ(got, c.colours) << c.name;
    }
}

TEST(BmpReader, OldOs2HeadersAndTheirPalettes) {
    // 12-byte header: 16-bit sizes and three-byte palette entries.
    BmpSpec core{.headerSize = 12, .width = 2, .height = 2, .bitsPerPixel = 8};
    for (uint32_t i = 0; i < 256; ++i) core.palette.push_back(i * 0x010101);
    core.pixels = bytes({7, 8, 0, 0, 200, 1, 0, 0});
    Surface s;
    auto r = readBmpFile(s, buildBmp(core));
    ASSERT_TRUE(r) << r.error;
    EXPECT_EQ(indices(s), (std::vector<std::vector<int>>{{200, 1}, {7, 8}}));
    EXPECT_EQ(pixelColor(s, 0, 0), 0xc8c8c8u);

    // Without a colour count, the pixel offset tells how much palette was written.
    core.palette = {0x0000ff, 0x00ff00, 0xff0000};
    core.pixels = bytes({2, 1, 0, 0, 0, 2, 0, 0});
    r = readBmpFile(s, buildBmp(core));
    ASSERT_TRUE(r) << r.error;
    EXPECT_EQ(pixelColor(s, 0, 1), 0xff0000u);
    EXPECT_EQ(pixelColor(s, 1, 1), 0x00ff00u);
    core.pixels = bytes({3, 1, 0, 0, 0, 2, 0, 0}); // index 3 is not in that palette
    EXPECT_FALSE(readBmpFile(s, buildBmp(core)));

    // 16- and 64-byte OS/2 2.x headers read like the Windows form.
    BmpSpec v2 = eightBit(2, 1, bytes({3, 2, 0, 0}));
    v2.palette.resize(256, 0);
    v2.colorsUsed = 0;
    for (uint32_t size : {16u, 64u}) {
        v2.headerSize = size;
        r = readBmpFile(s, buildBmp(v2));
        ASSERT_TRUE(r) << size << ": " << r.error;
        EXPECT_EQ(pixelColor(s, 0, 0), 0x0000ffu);
        EXPECT_EQ(pixelColor(s, 1, 0), 0x00ff00u);
    }
}

TEST(BmpReader, PixelDataIsTakenFromTheFilesOffset) {
    BmpSpec layout = eightBit(2, 1, bytes({1, 3, 0, 0}));
    layout.gap = "garbage!";
    Surface s;
    ASSERT_TRUE(readBmpFile(s, buildBmp(layout)));
    EXPECT_EQ(pixelColor(s, 0, 0), 0xff0000u);
    EXPECT_EQ(pixelColor(s, 1, 0), 0x0000ffu);

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
    EXPECT_EQ(s.bitsPerPixel, 8);
    EXPECT_EQ(indices(s), (std::vector<std::vector<int>>{
                              {0, 0, 0, 6, 6, 0}, {5, 0, 0, 0, 0, 0}, {1, 1, 1, 2, 3, 4}}));

    // Ending early leaves the remaining pixels at index 0; so does a missing end-of-bitmap code
    // after the last row has been ended.
    layout.pixels = bytes({6, 7, 0, 1});
    ASSERT_TRUE(readBmpFile(s, buildBmp(layout)));
    EXPECT_EQ(indices(s)[2], (std::vector<int>{7, 7, 7, 7, 7, 7}));
    EXPECT_EQ(indices(s)[0], (std::vector<int>{0, 0, 0, 0, 0, 0}));
    layout.pixels = bytes({6, 1, 0, 0, 6, 2, 0, 0, 6, 3, 0, 0});
    ASSERT_TRUE(readBmpFile(s, buildBmp(layout)));
    EXPECT_EQ(indices(s)[0], (std::vector<int>{3, 3, 3, 3, 3, 3}));
}

TEST(BmpReader, RunLengthFourBitCodes) {
    BmpSpec layout{.width = 5, .height = 2, .bitsPerPixel = 4, .compression = 2, .colorsUsed = 7};
    layout.palette.assign(7, 0);
    layout.pixels = bytes({5, 0x12,          // 1 2 1 2 1
                           0, 0,             // end of line
                           0, 3, 0x34, 0x50, // absolute 3 4 5 (two bytes, already even)
                           2, 0x66,          // 6 6
                           0, 1});
    Surface s;
    auto r = readBmpFile(s, buildBmp(layout));
    ASSERT_TRUE(r) << r.error;
    EXPECT_EQ(s.bitsPerPixel, 8);
    EXPECT_EQ(indices(s), (std::vector<std::vector<int>>{{3, 4, 5, 6, 6}, {1, 2, 1, 2, 1}}));

    // An odd absolute run of nibbles: 5 nibbles in 3 bytes plus one byte of padding.
    layout.pixels = bytes({0, 5, 0x12, 0x34, 0x50, 0xee, 0, 1});
    r = readBmpFile(s, buildBmp(layout));
    ASSERT_TRUE(r) << r.error;
    EXPECT_EQ(indices(s)[1], (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST(BmpReader, DimensionCap) {
    BmpSpec layout{.width = kMaxSurfaceDimension, .bitsPerPixel = 1, .palette = {0, 0xffffff}};
    layout.pixels.assign(kMaxSurfaceDimension / 8, '\xff');
    Surface s;
    ASSERT_TRUE(readBmpFile(s, buildBmp(layout)));
    EXPECT_EQ(s.width, kMaxSurfaceDimension);
    EXPECT_EQ(pixelColor(s, kMaxSurfaceDimension - 1, 0), 0xffffffu);

    layout.width = kMaxSurfaceDimension + 1;
    layout.pixels.assign(kMaxSurfaceDimension / 8 + 4, '\xff');
    EXPECT_FALSE(readBmpFile(s, buildBmp(layout)));
    EXPECT_TRUE(s.empty());

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
// fields, densities, huge colour tables, empty masks, top-down RLE) are tested there.
TEST(BmpReader, RefusesBrokenFiles) {
    const BmpSpec good = eightBit(2, 2, bytes({1, 2, 0, 0, 3, 0, 0, 0}));
    BmpSpec rle = eightBit(4, 2, "");
    rle.compression = 1;
    const BmpSpec sixteen{.bitsPerPixel = 16, .compression = 3, .pixels = bytes({0, 0, 0, 0})};

    struct Case {
        const char* name;
        std::string file;
    };
    std::vector<Case> cases;
    auto add = [&](const char* name, const BmpSpec& layout) {
        cases.push_back({name, buildBmp(layout)});
    };
    auto with = [](BmpSpec layout, auto change) {
        change(layout);
        return layout;
    };

    {
        std::string f = buildBmp(good);
        f[1] = 'A';
        cases.push_back({"signature", f});
        cases.push_back({"empty", ""});
        cases.push_back({"file header only", buildBmp(good).substr(0, 14)});
    }
    add("header size 66", with(good, [](BmpSpec& s) { s.headerSize = 66; }));
    add("header size 0", with(good, [](BmpSpec& s) { s.headerSize = 0; }));
    add("width 0", with(good, [](BmpSpec& s) { s.width = 0; }));
    add("height 0", with(good, [](BmpSpec& s) { s.height = 0; }));
    add("huge height", with(good, [](BmpSpec& s) { s.height = -2147483647 - 1; }));
    add("depth 64", with(good, [](BmpSpec& s) { s.bitsPerPixel = 64; }));
    add("depth 0", with(good, [](BmpSpec& s) { s.bitsPerPixel = 0; }));
    add("jpeg", with(good, [](BmpSpec& s) { s.compression = 4; }));
    add("png", with(good, [](BmpSpec& s) { s.compression = 5; }));
    add("compression 7", with(good, [](BmpSpec& s) { s.compression = 7; }));
    add("rle4 at 8 bits", with(good, [](BmpSpec& s) { s.compression = 2; }));
    add("bit fields at 8 bits", with(good, [](BmpSpec& s) { s.compression = 3; }));
    add("os2 huffman", with(good, [](BmpSpec& s) {
            s.headerSize = 64;
            s.bitsPerPixel = 1;
            s.compression = 3;
        }));
    add("os2 rle24", with(good, [](BmpSpec& s) {
            s.headerSize = 64;
            s.bitsPerPixel = 24;
            s.compression = 4;
        }));
    add("colour table over depth", with(good, [](BmpSpec& s) {
            s.bitsPerPixel = 4;
            s.colorsUsed = 17;
            s.palette.assign(17, 0);
        }));
    add("colour table into pixels", with(good, [](BmpSpec& s) { s.colorsUsed = 5; }));
    add("24-bit colour table into pixels", with(good, [](BmpSpec& s) {
            s.bitsPerPixel = 24;
            s.pixels.assign(16, '\0');
            s.colorsUsed = 5;
        }));
    add("index beyond colour table", with(good, [](BmpSpec& s) { s.pixels[1] = 4; }));
    add("one-bit index beyond table", with(good, [](BmpSpec& s) {
            s.bitsPerPixel = 1;
            s.colorsUsed = 1;
            s.palette = {0};
            s.pixels = bytes({0x40, 0, 0, 0, 0, 0, 0, 0});
        }));
    add("offset inside headers", with(good, [](BmpSpec& s) { s.pixelOffsetField = 20; }));
    add("offset inside palette", with(good, [](BmpSpec& s) { s.pixelOffsetField = 14 + 40 + 4; }));
    add("offset past end", with(good, [](BmpSpec& s) { s.pixelOffsetField = 1000; }));
    add("density 10000000:1", with(good, [](BmpSpec& s) {
            s.xDensity = 30000000;
            s.yDensity = 3;
        }));
    add("truncated pixels", with(good, [](BmpSpec& s) { s.pixels.resize(4); }));
    add("overlapping masks", with(sixteen, [](BmpSpec& s) { s.masks = {0xff00, 0x0ff0, 0xf}; }));
    add("gappy mask", with(sixteen, [](BmpSpec& s) { s.masks = {0xf000, 0x0e00, 0x0101}; }));
    add("mask wider than pixel", with(sixteen, [](BmpSpec& s) {
            s.masks = {0x1f0000, 0x03e0, 0x001f};
        }));
    add("masks missing", with(sixteen, [](BmpSpec& s) {
            s.masks.clear();
            s.pixels.clear();
        }));
    add("bit fields at 24 bits", with(sixteen, [](BmpSpec& s) {
            s.bitsPerPixel = 24;
            s.masks = {0xff0000, 0xff00, 0xff};
        }));
    add("rle run past row end", with(rle, [](BmpSpec& s) { s.pixels = bytes({5, 1, 0, 1}); }));
    add("rle absolute past row end", with(rle, [](BmpSpec& s) {
            s.pixels = bytes({2, 1, 0, 3, 1, 1, 1, 0, 0, 1});
        }));
    add("rle delta past right edge", with(rle, [](BmpSpec& s) {
            s.pixels = bytes({0, 2, 5, 0, 0, 1});
        }));
    add("rle delta past top", with(rle, [](BmpSpec& s) { s.pixels = bytes({0, 2, 0, 3, 0, 1}); }));
    add("rle run above top", with(rle, [](BmpSpec& s) {
            s.pixels = bytes({0, 0, 0, 0, 1, 1, 0, 1});
        }));
    add("rle end of line past top", with(rle, [](BmpSpec& s) {
            s.pixels = bytes({0, 0, 0, 0, 0, 0, 0, 1});
        }));
    add("rle without end", with(rle, [](BmpSpec& s) { s.pixels = bytes({4, 1, 0, 0, 2, 1}); }));
    add("rle cut in absolute run", with(rle, [](BmpSpec& s) { s.pixels = bytes({0, 4, 1, 1}); }));
    add("rle cut in delta", with(rle, [](BmpSpec& s) { s.pixels = bytes({0, 2, 1}); }));
    add("rle index beyond table", with(rle, [](BmpSpec& s) { s.pixels = bytes({2, 9, 0, 1}); }));
    add("rle absolute index beyond table", with(rle, [](BmpSpec& s) {
            s.pixels = bytes({0, 3, 1, 2, 4, 0, 0, 1});
        }));
    add("rle4 index beyond table", with(rle, [](BmpSpec& s) {
            s.bitsPerPixel = 4;
            s.compression = 2;
            s.pixels = bytes({3, 0x19, 0, 1});
        }));

    for (const Case& c : cases) {
        Surface s;
        ASSERT_TRUE(createSurface(s, 3, 3, 24));
        s.transMode = TransMode::Alpha;
        const BmpReadResult r = readBmpFile(s, c.file);
        EXPECT_FALSE(r) << c.name;
        EXPECT_FALSE(r.error.empty()) << c.name;
        EXPECT_TRUE(s.empty()) << c.name;
        EXPECT_EQ(s.width, 0) << c.name;
        EXPECT_EQ(s.transMode, TransMode::Alpha) << c.name;
    }
    // The good file the cases derive from does decode.
    Surface s;
    EXPECT_TRUE(readBmpFile(s, buildBmp(good)));
}

TEST(BmpReader, EveryCutShortFileIsRefused) {
    BmpSpec layout{.width = 5, .height = 4, .pixels = std::string(16 * 4, '\x5a')};
    const std::string full = buildBmp(layout);
    Surface s;
    ASSERT_TRUE(readBmpFile(s, full));
    for (size_t n = 0; n < full.size(); ++n)
        EXPECT_FALSE(readBmpFile(s, std::string_view(full).substr(0, n))) << n;

    // Even when the file size field does not give it away.
    layout.fileSizeField = 0;
    const std::string quiet = buildBmp(layout);
    const size_t lastPadding = 1;
    for (size_t n = 0; n + lastPadding < quiet.size(); ++n)
        EXPECT_FALSE(readBmpFile(s, std::string_view(quiet).substr(0, n))) << n;

    BmpSpec rle =
        eightBit(4, 3, bytes({4, 1, 0, 0, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 1, 0, 2, 2, 0, 1}));
    rle.compression = 1;
    rle.fileSizeField = 0;
    const std::string packed = buildBmp(rle);
    ASSERT_TRUE(readBmpFile(s, packed));
    for (size_t n = 0; n < packed.size(); ++n)
        EXPECT_FALSE(readBmpFile(s, std::string_view(packed).substr(0, n))) << n;
}

TEST(BmpReader, SuccessReplacesThePictureAndKeepsAttributes) {
    Surface s;
    ASSERT_TRUE(createSurface(s, 640, 480, 24));
    s.transMode = TransMode::Keyed;
    s.keyIndex = 4;
    s.cellCount = 2;
    ASSERT_TRUE(readBmpFile(s, buildBmp(eightBit(2, 1, bytes({1, 1, 0, 0})))));
    EXPECT_EQ(s.width, 2);
    EXPECT_EQ(s.bitsPerPixel, 8);
    EXPECT_EQ(s.stride, 4);
    EXPECT_EQ(s.pixels.size(), 4u);
    EXPECT_EQ(s.transMode, TransMode::Keyed);
    EXPECT_EQ(s.keyIndex, 4);
    EXPECT_EQ(s.cellCount, 2);
}

} // namespace
} // namespace orv
