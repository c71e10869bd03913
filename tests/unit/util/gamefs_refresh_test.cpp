#include "util/gamefs.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace orv;
using orv::test::TempDir;

// Folders last changed long before they are listed: their listings answer misses until another
// program changes them, and then the files it added are found in whatever case they are asked.
TEST(GameFsRefresh, FilesAddedToFoldersListedLongAgoAreFound) {
    TempDir dir;
    dir.write("cg/old.bmp", "o");
    const auto past = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    for (const auto& folder : {dir.path(), dir.path() / "cg"})
        std::filesystem::last_write_time(folder, past);
    GameFs fs(dir.path());
    EXPECT_FALSE(fs.exists("NEW.TXT"));
    EXPECT_FALSE(fs.exists("CG\\NEW.BMP"));
    dir.write("New.txt", "n");
    dir.write("cg/New.bmp", "b");
    EXPECT_EQ(fs.readAll("NEW.TXT"), "n");
    EXPECT_EQ(fs.readAll("CG\\NEW.BMP"), "b");
    std::filesystem::remove(dir.path() / "New.txt");
    EXPECT_FALSE(fs.exists("NEW.TXT"));
}
