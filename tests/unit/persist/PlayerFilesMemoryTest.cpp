#include "persist/PlayerFiles.h"

#include <gtest/gtest.h>

using namespace orv;

// Files kept in memory read back as written (a long one cut to the reader's limit), a second
// write replaces the first, and a file never written is not there.
TEST(PlayerFilesInMemory, ReadsBackWhatWasWritten) {
    const PlayerFiles files = PlayerFiles::inMemory();
    EXPECT_FALSE(files.read("envdata", 100));
    EXPECT_FALSE(files.modified("envdata"));
    ASSERT_TRUE(files.write("envdata", "first", nullptr));
    ASSERT_TRUE(files.write("gloval.sav", "globals", nullptr));
    ASSERT_TRUE(files.write("envdata", "second", nullptr));
    EXPECT_EQ(files.read("envdata", 100), "second");
    EXPECT_EQ(files.read("gloval.sav", 4), "glob");
    EXPECT_TRUE(files.modified("gloval.sav"));
    EXPECT_FALSE(files.read("save1.dat", 100));
}
