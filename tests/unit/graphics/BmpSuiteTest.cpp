// The public BMP test suite: good files must decode to their reference pictures, bad files must be
// refused, and each questionable file gets the decision listed here.
#include "TestSupport.h"
#include "graphics/BmpReader.h"
#include "platform/Png.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace fs = std::filesystem;

namespace orv {
namespace {

std::vector<fs::path> bmpFiles(const fs::path& dir) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().extension() == ".bmp") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// Largest difference of any channel between the surface and the reference picture; -1 when
// the sizes differ.
int maxDifference(const Surface& s, const RgbImage& ref) {
    if (s.width != ref.width || s.height != ref.height) return -1;
    int worst = 0;
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) {
            const uint32_t c = pixelColor(s, x, y);
            const uint8_t* r = ref.pixel(x, y);
            worst =
                std::max({worst, std::abs(int((c >> 16) & 0xff) - r[0]),
                          std::abs(int((c >> 8) & 0xff) - r[1]), std::abs(int(c & 0xff) - r[2])});
        }
    return worst;
}

Surface decodeFile(const fs::path& path, BmpReadResult* result) {
    Surface s;
    *result = readBmpFile(s, test::readFile(path));
    return s;
}

TEST(BmpSuite, GoodFilesMatchTheirReferences) {
    ORVANE_REQUIRE_TESTDATA(data);
    const fs::path suite = data / "bmpsuite";
    if (!fs::is_directory(suite / "g")) GTEST_SKIP() << "bmpsuite absent";
    const auto files = bmpFiles(suite / "g");
    ASSERT_FALSE(files.empty());
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        BmpReadResult r;
        const Surface s = decodeFile(file, &r);
        ASSERT_TRUE(r) << r.error;
        const std::string name = file.stem().string();
        EXPECT_EQ(s.bitsPerPixel, name.rfind("pal", 0) == 0 ? 8 : 24);
        // pal8v4 declares a calibrated colour space with a gamma, and its reference shows the
        // pixels after colour correction. The engine shows stored values as they are (colour keys
        // compare them), so it must match the uncorrected picture, which pal8 holds.
        const std::string refName = name == "pal8v4" ? "pal8" : name;
        const auto ref = readPng((suite / "ref" / (refName + ".png")).string());
        ASSERT_TRUE(ref.has_value());
        EXPECT_EQ(maxDifference(s, *ref), 0);
    }
}

TEST(BmpSuite, BadFilesAreRefused) {
    ORVANE_REQUIRE_TESTDATA(data);
    const fs::path dir = data / "bmpsuite" / "b";
    if (!fs::is_directory(dir)) GTEST_SKIP() << "bmpsuite absent";
    const auto files = bmpFiles(dir);
    ASSERT_FALSE(files.empty());
    for (const fs::path& file : files) {
        BmpReadResult r;
        const Surface s = decodeFile(file, &r);
        EXPECT_FALSE(r) << file.filename();
        EXPECT_FALSE(r.error.empty()) << file.filename();
        EXPECT_TRUE(s.empty()) << file.filename();
    }
}

TEST(BmpSuite, QuestionableFilesFollowTheListedDecisions) {
    ORVANE_REQUIRE_TESTDATA(data);
    const fs::path suite = data / "bmpsuite";
    if (!fs::is_directory(suite / "q")) GTEST_SKIP() << "bmpsuite absent";

    // Refused: compressed forms we do not read, a colour table longer than 8 bits can index,
    // and a depth of 64 bits.
    const std::set<std::string> refused = {"pal1huffmsb", "pal8oversizepal", "rgb24jpeg",
                                           "rgb24png",    "rgb24rle24",      "rgba64"};
    // Decoded files that show the same picture as a good file (largest channel difference).
    const std::map<std::string, std::pair<std::string, int>> sameAs = {
        {"pal8offs", {"pal8", 0}},       {"pal8os2-hs", {"pal8", 0}},
        {"pal8os2-sz", {"pal8", 0}},     {"pal8os2sp", {"pal8", 0}},
        {"pal8os2v2", {"pal8", 0}},      {"pal8os2v2-16", {"pal8", 0}},
        {"pal8os2v2-40sz", {"pal8", 0}}, {"pal8os2v2-sz", {"pal8", 0}},
        {"rgb16faketrns", {"rgb16", 0}}, {"rgba16-5551", {"rgb16", 0}},
        {"rgb24largepal", {"rgb24", 0}}, {"rgb24lprof", {"rgb24", 0}},
        {"rgb24prof", {"rgb24", 0}},     {"rgb32fakealpha", {"rgb24", 0}},
        {"rgb32h52", {"rgb24", 0}},      {"rgb32-xbgr", {"rgb24", 0}},
        {"rgb32-111110", {"rgb24", 1}},
    };

    const auto files = bmpFiles(suite / "q");
    ASSERT_FALSE(files.empty());
    std::map<std::string, Surface> decoded;
    for (const fs::path& file : files) {
        const std::string name = file.stem().string();
        SCOPED_TRACE(name);
        BmpReadResult r;
        Surface s = decodeFile(file, &r);
        if (refused.count(name)) {
            EXPECT_FALSE(r);
            EXPECT_TRUE(s.empty());
            continue;
        }
        ASSERT_TRUE(r) << r.error;
        EXPECT_EQ(s.bitsPerPixel, name.rfind("pal", 0) == 0 ? 8 : 24);
        if (auto it = sameAs.find(name); it != sameAs.end()) {
            const auto ref = readPng((suite / "ref" / (it->second.first + ".png")).string());
            ASSERT_TRUE(ref.has_value());
            const int diff = maxDifference(s, *ref);
            EXPECT_GE(diff, 0);
            EXPECT_LE(diff, it->second.second);
        }
        decoded[name] = std::move(s);
    }

    // The alpha variants hold the same colours under different masks and headers.
    for (const char* name : {"rgba32-2", "rgba32abf", "rgba32h56"}) {
        ASSERT_TRUE(decoded.count(name) && decoded.count("rgba32-1")) << name;
        EXPECT_EQ(decoded[name].pixels, decoded["rgba32-1"].pixels) << name;
    }
    // Pixels that the run-length codes skip (delta, end of line, early end of bitmap) keep
    // palette index 0; all others are those of the good picture.
    for (const char* name : {"pal8rletrns", "pal4rletrns", "pal8rlecut", "pal4rlecut"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(decoded.count(name));
        const Surface& s = decoded[name];
        const auto ref =
            readPng((suite / "ref" / (name[3] == '8' ? "pal8.png" : "pal4.png")).string());
        ASSERT_TRUE(ref.has_value());
        ASSERT_EQ(s.width, ref->width);
        ASSERT_EQ(s.height, ref->height);
        int skipped = 0, wrong = 0;
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x) {
                if (pixelIndex(s, x, y) == 0) {
                    ++skipped;
                    continue;
                }
                const uint8_t* r = ref->pixel(x, y);
                if (pixelColor(s, x, y) != ((uint32_t{r[0]} << 16) | (uint32_t{r[1]} << 8) | r[2]))
                    ++wrong;
            }
        EXPECT_GT(skipped, 0);
        EXPECT_EQ(wrong, 0);
    }
}

} // namespace
} // namespace orv
