#include "util/sjis.h"

#include "TestSupport.h"

#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>

using namespace orv;

namespace {

// The "0xCODE 0xUNICODE" rows of a mapping file, first column as key, starting after the line
// that begins with `from`.
std::map<unsigned, char32_t> readRows(const std::filesystem::path& file, const char* from = "") {
    std::map<unsigned, char32_t> rows;
    std::ifstream in(file, std::ios::binary);
    std::string line, a, b;
    bool on = !*from;
    while (std::getline(in, line)) {
        if (!on && (on = line.rfind(from, 0) == 0)) continue;
        std::istringstream ss(line.substr(0, line.find_first_of("#;")));
        if (!on || !(ss >> a >> b)) continue;
        if (a.rfind("0x", 0) != 0) break;
        rows[std::stoul(a, nullptr, 16)] = char32_t(std::stoul(b, nullptr, 16));
    }
    return rows;
}

std::string bytesOf(unsigned code) {
    return code > 0xFF ? std::string{char(code >> 8), char(code)} : std::string(1, char(code));
}

} // namespace

TEST(Sjis, AgreesWithTheWindowsTable) {
    ORVANE_REQUIRE_TESTDATA(dir);
    auto table = readRows(dir / "cp932" / "CP932.TXT");
    ASSERT_EQ(table.size(), 7915u);
    // Where several pairs share a code point, Windows writes the one its best-fit table names.
    auto written = readRows(dir / "cp932" / "bestfit932.txt", "WCTABLE");
    ASSERT_GT(written.size(), 9000u);
    std::map<char32_t, int> uses;
    for (auto [code, cp] : table) ++uses[cp];

    std::string all, allUtf8;
    for (auto [code, cp] : table) {
        std::string bytes = bytesOf(code);
        size_t pos = 0;
        ASSERT_EQ(sjis::decode(bytes, pos), cp) << std::hex << code;
        ASSERT_EQ(pos, bytes.size());
        ASSERT_EQ(sjis::encode(cp), bytesOf(uses[cp] == 1 ? code : unsigned(written.at(cp))))
            << std::hex << code;
        if (uses[cp] == 1) all += bytes, allUtf8 += sjis::toUtf8(bytes);
    }
    EXPECT_EQ(sjis::toUtf8(all), allUtf8);
    EXPECT_EQ(sjis::fromUtf8(allUtf8), all);

    // Pairs the table lacks are replaced, except the user-defined area F040-F9FC.
    for (unsigned code = 0x8140; code <= 0xFCFC; ++code) {
        unsigned lead = code >> 8, trail = code & 0xFF;
        if (!sjis::isLeadByte(lead) || trail < 0x40 || trail == 0x7F || trail > 0xFC) continue;
        if ((lead >= 0xF0 && lead <= 0xF9) || table.count(code)) continue;
        size_t pos = 0;
        ASSERT_EQ(sjis::decode(bytesOf(code), pos), U'\uFFFD') << std::hex << code;
        ASSERT_EQ(pos, 2u);
    }
    EXPECT_EQ(sjis::toUtf8("\xF0\x40\xF9\xFC"), "\uE000\uE757");
}

TEST(Sjis, SingleBytes) {
    for (unsigned b = 0xA1; b <= 0xDF; ++b) {
        size_t pos = 0;
        EXPECT_EQ(sjis::decode(std::string(1, char(b)), pos), char32_t(0xFF61 + b - 0xA1));
        EXPECT_EQ(sjis::encode(0xFF61 + b - 0xA1), std::string(1, char(b)));
    }
    EXPECT_EQ(sjis::toUtf8("\xA1\xDF\\~"), "｡ﾟ\\~");
    EXPECT_EQ(sjis::fromUtf8("\\~¥‾"), "\\~??");
    // 0x5C as a second byte belongs to its character.
    EXPECT_EQ(sjis::toUtf8("\x95\x5C\x83\x5C\x81\x5C"), "表ソ―");
    // Bytes that never begin a character keep a round trip as Windows reads them.
    EXPECT_EQ(sjis::toUtf8("\x80\xA0\xFD\xFE\xFF"), "\u0080\uF8F0\uF8F1\uF8F2\uF8F3");
    EXPECT_EQ(sjis::fromUtf8("\u0080\uF8F0\uF8F1\uF8F2\uF8F3"), "\x80\xA0\xFD\xFE\xFF");
}

TEST(Sjis, BrokenInputNeverReadsPastTheEnd) {
    EXPECT_EQ(sjis::toUtf8("A\x82"), "A\uFFFD");
    EXPECT_EQ(sjis::toUtf8("\x82 \x82\x7F\x82\xFD!"), "\uFFFD \uFFFD\x7F\uFFFD\uF8F1!");
    EXPECT_EQ(sjis::toUtf8(std::string_view("\x82\0A", 3)), std::string("\uFFFD\0A", 5));
    // A view that cuts a pair in half must not see the byte behind it.
    std::string buffer = "\x82\xA0";
    size_t pos = 0;
    EXPECT_EQ(sjis::decode(std::string_view(buffer).substr(0, 1), pos), U'\uFFFD');
    EXPECT_EQ(pos, 1u);
    pos = 7;
    EXPECT_EQ(sjis::decode(buffer, pos), U'\uFFFD');
    EXPECT_EQ(pos, buffer.size());
}

TEST(Sjis, FromUtf8) {
    EXPECT_EQ(S("こんにちは、世界 OK"), "\x82\xB1\x82\xF1\x82\xC9\x82\xBF\x82\xCD\x81\x41\x90\xA2"
                                        "\x8A\x45 OK");
    EXPECT_EQ(sjis::fromUtf8("한😀é"), "???");
    // Malformed: stray continuation, overlong, surrogate, cut sequence.
    EXPECT_EQ(sjis::fromUtf8("\x80|\xC0\xAF|\xED\xA0\x80|\xE3\x81"), "?|??|???|??");
    EXPECT_EQ(sjis::encode(0x110000), "?");
    // The Windows table has the full-width tilde where JIS has the wave dash.
    EXPECT_EQ(sjis::encode(U'～'), "\x81\x60");
    EXPECT_EQ(sjis::encode(U'〜'), "?");
}
