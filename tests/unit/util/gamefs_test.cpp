#include "util/gamefs.h"

#include "TestSupport.h"
#include "util/AtomicFile.h"
#include "util/sjis.h"

#include <gtest/gtest.h>

using namespace orv;
using orv::test::TempDir;

TEST(GameFs, NamesMatchWhateverTheCaseAndSeparator) {
    TempDir dir;
    auto sky = dir.write("BG/Sky.Bmp", "sky");
    auto wide = dir.write("ＡＢＣ.txt", "wide");
    auto jp = dir.write("背景/表示ソ.TXT", "jp"); // both names hold a 0x5C second byte
    auto lower = dir.write("a.txt", "lower"), upper = dir.write("A.txt", "upper");
    auto inner = dir.write("data/x.txt", "x");
    std::filesystem::create_directory(dir.path() / "Data"); // exact case, but without x.txt
    GameFs fs(dir.path());
    EXPECT_EQ(fs.find("bg\\sky.bmp"), sky);
    EXPECT_EQ(fs.find("BG/SKY.BMP"), sky);
    EXPECT_EQ(fs.find(S("ａｂｃ.TXT")), wide);
    EXPECT_EQ(fs.readAll(S("背景\\表示ソ.txt")), "jp");
    EXPECT_EQ(fs.find("a.txt"), lower);
    EXPECT_EQ(fs.find("A.txt"), upper);
    EXPECT_EQ(fs.find("Data\\x.txt"), inner);
    EXPECT_FALSE(fs.find("bg")); // a folder is not a file
    EXPECT_FALSE(fs.find("sky.bmp"));
    EXPECT_FALSE(fs.readAll("missing.txt"));
    EXPECT_FALSE(fs.exists(S("ＡＢＤ.txt")));
}

TEST(GameFs, NamesStayInsideTheGameFolder) {
    TempDir dir;
    dir.write("outside.txt", "no");
    auto root = dir.path() / "game";
    auto a = dir.write("game/a.txt", "a");
    GameFs fs(root);
    EXPECT_FALSE(fs.find("..\\outside.txt"));
    EXPECT_FALSE(fs.find("/../outside.txt"));
    EXPECT_EQ(fs.find("..\\a.txt"), a);
    EXPECT_EQ(fs.find("sub\\..\\.\\a.txt"), a);
    EXPECT_EQ(fs.find("C:\\A.TXT"), a);
    EXPECT_EQ(fs.pathForWrite("..\\..\\b.txt"), root / "b.txt");
}

TEST(GameFs, WritingFollowsWhatIsOnDisk) {
    TempDir dir;
    auto save = dir.write("Save/SAVE1.DAT", "old");
    GameFs fs(dir.path());
    EXPECT_EQ(fs.pathForWrite("save\\save1.dat"), save);
    EXPECT_EQ(fs.pathForWrite("SAVE\\new.dat"), dir.path() / "Save" / "new.dat");
    EXPECT_EQ(fs.pathForWrite(S("新規/セーブ.dat")), dir.path() / "新規" / "セーブ.dat");
    // Files the engine writes while the game runs are found at once.
    EXPECT_FALSE(fs.exists("gloval.sav"));
    ASSERT_TRUE(writeFileAtomically(dir.path() / "gloval.sav", "g", nullptr, false));
    EXPECT_EQ(fs.readAll("GLOVAL.SAV"), "g");
}
