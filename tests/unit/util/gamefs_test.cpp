#include "util/gamefs.h"

#include "TestSupport.h"
#include "util/AtomicFile.h"
#include "util/sjis.h"

#include <gtest/gtest.h>

using namespace orv;
using orv::test::TempDir;
using Found = std::vector<std::optional<std::filesystem::path>>;

TEST(GameFs, NamesMatchWhateverTheCaseAndSeparator) {
    TempDir dir;
    auto sky = dir.write("BG/Sky.Bmp", "sky");
    auto wide = dir.write("ＡＢＣ.txt", "wide");
    auto jp = dir.write("背景/表示ソ.TXT", "jp"); // both names hold a 0x5C second byte
    auto lower = dir.write("a.txt", "lower"), upper = dir.write("A.txt", "upper");
    auto inner = dir.write("data/x.txt", "x");
    std::filesystem::create_directory(dir.path() / "Data"); // exact case, but without x.txt
    GameFs fs(dir.path());
    // A folder ("bg") is not a file.
    EXPECT_EQ((Found{fs.find("bg\\sky.bmp"), fs.find("BG/SKY.BMP"), fs.find(S("ａｂｃ.TXT")),
                     fs.find("a.txt"), fs.find("A.txt"), fs.find("Data\\x.txt"), fs.find("bg"),
                     fs.find("sky.bmp")}),
              (Found{sky, sky, wide, lower, upper, inner, std::nullopt, std::nullopt}));
    EXPECT_EQ(fs.readAll(S("背景\\表示ソ.txt")), "jp");
    EXPECT_FALSE(fs.readAll("missing.txt"));
    EXPECT_FALSE(fs.exists(S("ＡＢＤ.txt")));
}

TEST(GameFs, NamesStayInsideTheGameFolder) {
    TempDir dir;
    dir.write("outside.txt", "no");
    auto root = dir.path() / "game";
    auto a = dir.write("game/a.txt", "a");
    GameFs fs(root);
    EXPECT_EQ((Found{fs.find("..\\outside.txt"), fs.find("/../outside.txt"), fs.find("..\\a.txt"),
                     fs.find("sub\\..\\.\\a.txt"), fs.find("C:\\A.TXT")}),
              (Found{std::nullopt, std::nullopt, a, a, a}));
    EXPECT_EQ(fs.pathForWrite("..\\..\\b.txt"), root / "b.txt");
}

TEST(GameFs, WritingFollowsWhatIsOnDisk) {
    TempDir dir;
    auto save = dir.write("Save/SAVE1.DAT", "old");
    GameFs fs(dir.path());
    EXPECT_EQ(
        (std::vector{fs.pathForWrite("save\\save1.dat"), fs.pathForWrite("SAVE\\new.dat"),
                     fs.pathForWrite(S("新規/セーブ.dat"))}),
        (std::vector{save, dir.path() / "Save" / "new.dat", dir.path() / "新規" / "セーブ.dat"}));
    // Files the engine writes while the game runs are found at once.
    EXPECT_FALSE(fs.exists("gloval.sav"));
    ASSERT_TRUE(writeFileAtomically(dir.path() / "gloval.sav", "g", nullptr, false));
    EXPECT_EQ(fs.readAll("GLOVAL.SAV"), "g");
    // And so are files another program adds, in a folder already listed or a new one.
    dir.write("Save/other.dat", "o");
    dir.write("cg/new.bmp", "n");
    EXPECT_EQ(std::vector({fs.readAll("save\\OTHER.DAT"), fs.readAll("CG/new.bmp")}),
              std::vector<std::optional<std::string>>({"o", "n"}));
}
