// Coverage cells compared with reference pictures made with the pinned IPA font package. A
// missing reference is written and the test fails, so that a new picture is looked at before it
// is trusted; a differing cell is written beside its reference as NAME.actual.png.
#include "text/GlyphCache.h"
#include "util/sjis.h"

#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>

namespace fs = std::filesystem;
using orv::GlyphCache;
using orv::GlyphCell;
using orv::S;

namespace {

fs::path goldenDir() {
    return fs::path(ORVANE_SOURCE_DIR) / "tests/unit/text/golden";
}

bool readGrey(const fs::path& path, GlyphCell& out) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_GRAY;
    out.width = int(image.width);
    out.height = int(image.height);
    out.coverage.assign(PNG_IMAGE_SIZE(image), 0);
    return png_image_finish_read(&image, nullptr, out.coverage.data(), 0, nullptr) != 0;
}

bool writeGrey(const fs::path& path, const GlyphCell& cell) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(cell.width);
    image.height = png_uint_32(cell.height);
    image.format = PNG_FORMAT_GRAY;
    return png_image_write_to_file(&image, path.c_str(), 0, cell.coverage.data(), 0, nullptr) != 0;
}

struct GoldenCase {
    const char* name;
    const char* text; // UTF-8; one full-width or one or two half-width characters
};

class GlyphGolden : public ::testing::TestWithParam<GoldenCase> {};

} // namespace

TEST_P(GlyphGolden, MatchesReference) {
    const GoldenCase& gc = GetParam();
    const std::string bytes = S(gc.text);
    GlyphCache cache;
    for (bool bold : {false, true}) {
        const GlyphCell& cell =
            cache.cell(S("ＭＳ ゴシック"), 26, 26, bold, static_cast<unsigned char>(bytes[0]),
                       bytes.size() > 1 ? static_cast<unsigned char>(bytes[1]) : 0);
        const std::string stem = std::string(gc.name) + (bold ? "_bold" : "_regular");
        const fs::path ref = goldenDir() / (stem + ".png");
        const fs::path actual = goldenDir() / (stem + ".actual.png");
        if (!fs::exists(ref)) {
            ASSERT_TRUE(writeGrey(ref, cell)) << ref;
            ADD_FAILURE() << "reference written, check it and run again: " << ref;
            continue;
        }
        GlyphCell expected;
        ASSERT_TRUE(readGrey(ref, expected)) << ref;
        if (expected.width == cell.width && expected.height == cell.height &&
            expected.coverage == cell.coverage) {
            fs::remove(actual);
        } else {
            writeGrey(actual, cell);
            ADD_FAILURE() << stem << " differs from its reference; wrote " << actual;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Characters, GlyphGolden,
                         ::testing::Values(GoldenCase{"hiragana_a", "あ"},
                                           GoldenCase{"kanji_kan", "漢"},
                                           GoldenCase{"latin_A", "A"},
                                           GoldenCase{"corner_bracket", "「"},
                                           GoldenCase{"pair_Ag", "Ag"}),
                         [](const auto& info) { return std::string(info.param.name); });
