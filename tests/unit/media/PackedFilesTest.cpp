// Pictures in other formats through `spi`, and files packed in archives through `arc`: which
// registration serves, which file wins, and that extracted copies stay in the temporary
// directory under their base names and go when used.
#include "media/PackedFiles.h"
#include "EngineHarness.h"
#include "Pictures.h"
#include "SoundFiles.h"
#include "ZipBuilder.h"
#include "platform/headless/HeadlessAudio.h"
#include "sound/SoundLog.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace orv;
using orv::test::Harness;
using orv::test::zipBytes;

namespace {

// An LZH archive of stored (-lh0-) members with level-0 headers, as the old packers wrote; a
// member may claim another original size than it has.
std::string lzhBytes(const std::vector<std::pair<std::string, std::string>>& members,
                     uint32_t claimedSize = 0) {
    auto crc16 = [](const std::string& data) {
        uint16_t crc = 0;
        for (unsigned char c : data) {
            crc ^= c;
            for (int k = 0; k < 8; ++k) crc = (crc & 1) ? uint16_t((crc >> 1) ^ 0xA001) : crc >> 1;
        }
        return crc;
    };
    std::string out;
    for (const auto& [name, data] : members) {
        std::string h = "-lh0-";
        test::putLe(h, uint32_t(data.size()), 4);                             // packed size
        test::putLe(h, claimedSize ? claimedSize : uint32_t(data.size()), 4); // original size
        test::putLe(h, 0x5A210000, 4);                                        // DOS time
        h += '\x20';                                                          // attribute
        h += '\x00';                                                          // header level 0
        h += char(name.size());
        h += name;
        test::putLe(h, crc16(data), 2);
        unsigned sum = 0;
        for (unsigned char c : h) sum += c;
        out += char(h.size());
        out += char(sum & 0xFF);
        out += h + data;
    }
    return out + '\0';
}

std::string solidBmp(uint32_t rgb) {
    return test::bmp24(640, 480, [rgb](int, int) { return rgb; });
}

class PackedGame {
public:
    PackedGame() { harness.engine().tempDirectory = temp.path(); }
    // Runs the definition lines and body; the exit status.
    int run(const std::string& define, const std::string& body) {
        harness.scenario("*define\n" + define + "game\n*start\n" + body + "end\n");
        return harness.run();
    }
    uint32_t pixel() { return test::windowPixel(harness.platform().window(), 2, 2); }

    test::TempDir temp;
    Harness harness;
};

// A full-screen picture of one colour in the format of `extension`, made by ImageMagick.
std::string converted(const std::string& extension, const char* colour) {
    test::TempDir dir;
    const std::filesystem::path out = dir.path() / ("p." + extension);
    const std::string command = "/usr/bin/convert -size 640x480 xc:'" + std::string(colour) + "' " +
                                out.string() + " 2>/dev/null";
    if (std::system(command.c_str()) != 0) return {};
    return test::readFile(out);
}

TEST(PictureLibraries, PngJpegAndGifDecodeThroughARegistration) {
    for (const char* extension : {"png", "jpg", "gif"}) {
        const std::string picture = converted(extension, "#2080c0");
        if (picture.empty()) GTEST_SKIP() << "ImageMagick cannot write " << extension;
        PackedGame game;
        game.harness.file(std::string("p.") + extension, picture);
        ASSERT_EQ(game.run(std::string("spi \"Any.SPI|") + extension + "\"\n",
                           std::string("bg \"P.") + extension + "\",1\n"),
                  0)
            << extension << ": " << game.harness.log();
        const uint32_t got = game.pixel();
        // JPEG is lossy: a few steps off per channel.
        for (int shift : {16, 8, 0})
            EXPECT_NEAR(int((got >> shift) & 0xFF), int((0x2080c0u >> shift) & 0xFF), 3)
                << extension;
    }
}

TEST(PictureLibraries, RegistrationDecidesWhetherAFormatLoads) {
    struct Row {
        const char* define;
        const char* message;
    };
    const Row rows[] = {
        {"", "[ロードエラー] ファイルp.pngを開けません。"},
        {"spi \"a.spi|jpg\"\n", "[ロードエラー] ファイルp.pngを開けません。"},
        // Registered, but the content is nothing a decoder knows.
        {"spi \"a.spi|png\"\n", "[エラー] ロード失敗!"},
    };
    for (const Row& r : rows) {
        PackedGame game;
        game.harness.file("p.png", "not a picture at all");
        EXPECT_EQ(game.run(r.define, "bg \"p.png\",1\n"), 2);
        EXPECT_EQ(game.harness.firstMessage(), r.message) << r.define;
    }
}

TEST(Archives, MissingFilesComeFromTheFirstArchiveThatHoldsThem) {
    PackedGame game;
    game.harness.file("one.zip", zipBytes({{"bg/sky.bmp", solidBmp(0x112233)}}));
    game.harness.file("two.zip", zipBytes({{"bg/sky.bmp", solidBmp(0x445566)},
                                           {"bg/sea.bmp", solidBmp(0x778899)}}));
    ASSERT_EQ(game.run("arc \"one.zip|a.dll\"\narc \"two.zip|a.dll\"\n", "bg \"BG\\SKY.BMP\",1\n"),
              0)
        << game.harness.log();
    EXPECT_EQ(game.pixel(), 0x112233u);
    // The copy went once the picture was loaded.
    EXPECT_TRUE(std::filesystem::is_empty(game.temp.path()));

    PackedGame second;
    second.harness.file("one.zip", zipBytes({{"bg/sky.bmp", solidBmp(0x112233)}}));
    second.harness.file("two.zip", zipBytes({{"bg/sea.bmp", solidBmp(0x778899)}}));
    ASSERT_EQ(second.run("arc \"one.zip|a.dll\"\narc \"two.zip|a.dll\"\n", "bg \"bg/sea.bmp\",1\n"),
              0);
    EXPECT_EQ(second.pixel(), 0x778899u);
}

TEST(Archives, AFileOnDiskIsNeverLookedUp) {
    PackedGame game;
    game.harness.file("sky.bmp", solidBmp(0x0000ff));
    game.harness.file("pack.zip", zipBytes({{"sky.bmp", solidBmp(0xff0000)}}));
    ASSERT_EQ(game.run("arc \"pack.zip|a.dll\"\n", "bg \"sky.bmp\",1\n"), 0);
    EXPECT_EQ(game.pixel(), 0x0000ffu);
}

TEST(Archives, LzhMembersAreFound) {
    PackedGame game;
    game.harness.file("data.lzh", lzhBytes({{"bg\\night.bmp", solidBmp(0x203040)}}));
    ASSERT_EQ(game.run("arc \"DATA.LZH|unlha.dll\"\n", "bg \"bg/night.bmp\",1\n"), 0)
        << game.harness.log();
    EXPECT_EQ(game.pixel(), 0x203040u);
}

TEST(Archives, AMemberPathCannotLeaveTheTemporaryDirectory) {
    PackedGame game;
    const std::filesystem::path outside = game.temp.path().parent_path() / "orvane-escape.bmp";
    game.harness.file("evil.zip", zipBytes({{"../evil.bmp", solidBmp(0x102030)},
                                            {outside.string(), solidBmp(0x405060)}}));
    Engine& e = game.harness.engine();
    e.packed.archives = {"evil.zip|a.dll"};
    EXPECT_EQ(extractFromArchive(e, "../evil.bmp"), game.temp.path() / "evil.bmp");
    EXPECT_EQ(extractFromArchive(e, outside.string()), game.temp.path() / "orvane-escape.bmp");
    EXPECT_FALSE(std::filesystem::exists(outside));
    EXPECT_FALSE(std::filesystem::exists(game.temp.path().parent_path() / "evil.bmp"));
}

TEST(Archives, AMemberClaimingAHugeSizeIsRefused) {
    PackedGame game;
    game.harness.file("huge.lzh", lzhBytes({{"big.bmp", solidBmp(0x102030)}}, 0xC0000000u));
    Engine& e = game.harness.engine();
    e.packed.archives = {"huge.lzh|unlha.dll"};
    EXPECT_FALSE(extractFromArchive(e, "big.bmp"));
    EXPECT_TRUE(std::filesystem::is_empty(game.temp.path()));
}

TEST(Archives, NotInAnyArchiveIsALoadError) {
    PackedGame game;
    game.harness.file("pack.zip", zipBytes({{"other.bmp", solidBmp(0)}}));
    EXPECT_EQ(game.run("arc \"pack.zip|a.dll\"\n", "bg \"sky.bmp\",1\n"), 2);
    EXPECT_EQ(game.harness.firstMessage(), "[ロードエラー] ファイルsky.bmpを開けません。");
}

TEST(Archives, ASoundFromAnArchivePlaysAndItsCopyGoesWhenItStops) {
    PackedGame game;
    Engine& e = game.harness.engine();
    e.sound.log = std::make_unique<SoundLog>();
    e.sound.makeDevice = [] { return std::make_unique<HeadlessAudio>(); };
    game.harness.file("se.zip", zipBytes({{"se/hit.wav", test::wavBytes(300)}}));
    bool copyWhilePlaying = false;
    game.harness.platform().onTranscript = [&](std::string_view) {
        copyWhilePlaying = std::filesystem::exists(game.temp.path() / "hit.wav");
    };
    ASSERT_EQ(game.run("arc \"se.zip|a.dll\"\n", "waveloop \"se\\hit.wav\"\nあ\nwavestop\n"), 0)
        << game.harness.log();
    EXPECT_TRUE(copyWhilePlaying);
    EXPECT_FALSE(std::filesystem::exists(game.temp.path() / "hit.wav"));
    EXPECT_EQ(e.sound.log->text().substr(0, 19), "0 wave se\\hit.wav l");
}

} // namespace
