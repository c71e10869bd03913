#include "shell/Startup.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

namespace fs = std::filesystem;

namespace orv {
namespace {

TEST(SingleInstanceLock, SecondCopyIsRefusedUntilTheFirstEnds) {
    test::TempDir dir;
    fs::path lockFile = dir.path() / "sub" / "orvane.lock";
    {
        auto first = SingleInstanceLock::acquire(lockFile);
        ASSERT_TRUE(first);
        EXPECT_FALSE(SingleInstanceLock::acquire(lockFile));
    }
    EXPECT_TRUE(SingleInstanceLock::acquire(lockFile));
}

TEST(TempDirectory, IsPrivateAndRemovedOnlyWhenEmpty) {
    fs::path kept;
    fs::path removed;
    {
        auto a = TempDirectory::make(nullptr);
        auto b = TempDirectory::make(nullptr);
        ASSERT_TRUE(a && b);
        EXPECT_NE(a->path(), b->path());
        EXPECT_TRUE(fs::is_directory(a->path()));
        removed = a->path();
        kept = b->path();
        std::ofstream(kept / "left-behind") << "x";
    }
    EXPECT_FALSE(fs::exists(removed));
    EXPECT_TRUE(fs::exists(kept / "left-behind"));
    fs::remove_all(kept);
}

} // namespace
} // namespace orv
