#include "util/gamefs.h"

#include "EngineHarness.h"

#include <gtest/gtest.h>

using namespace orv;
using orv::test::Harness;
using orv::test::TempDir;
namespace fs = std::filesystem;

TEST(GameFsLinks, ALinkCountsWhereItLeads) {
    TempDir dir;
    fs::path outside = dir.write("outside/x.bmp", "secret");
    fs::path root = dir.path() / "game";
    fs::path inside = dir.write("game/pics/a.bmp", "a");
    fs::create_symlink(outside, root / "link.bmp");
    fs::create_directory_symlink(outside.parent_path(), root / "linked");
    fs::create_symlink(inside, root / "alias.bmp");
    fs::create_directory_symlink(inside.parent_path(), root / "more");
    GameFs gameFs(root);
    struct Case {
        const char* name;
        bool found;
    };
    for (const Case& c : {Case{"link.bmp", false}, Case{"linked\\x.bmp", false},
                          Case{"alias.bmp", true}, Case{"more\\a.bmp", true}}) {
        EXPECT_EQ(gameFs.readAll(c.name).has_value(), c.found) << c.name;
        EXPECT_EQ(gameFs.exists(c.name), c.found) << c.name;
    }
}

TEST(GameFsLinks, APictureBehindALinkOutsideIsALoadError) {
    TempDir outside;
    Harness h;
    fs::create_symlink(outside.write("x.bmp", "BM"), h.dir() / "link.bmp");
    EXPECT_EQ(h.run("*define\ngame\n*start\nbg \"link.bmp\",1\n"), 2);
    EXPECT_EQ(h.firstMessage(), "[ロードエラー] ファイルlink.bmpを開けません。");
}
