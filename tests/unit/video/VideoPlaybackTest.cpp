// What `avi` shows and logs, the clicks that end it and the files it refuses are the scenario
// folders video-*; here, that the copy a video from an archive plays from is gone afterwards.
#include "EngineHarness.h"

#include <gtest/gtest.h>

using namespace orv;

namespace {

TEST(VideoFiles, TheCopyFromAnArchiveGoesOnceItHasPlayed) {
    test::TempDir temp;
    test::Harness h;
    h.engine().tempDirectory = temp.path();
    h.file("movies.zip",
           test::readFile(test::sourceDir() / "tests/scenarios/video-archive/movies.zip"));
    ASSERT_EQ(h.run("*define\narc \"movies.zip|zip.dll\"\ngame\n*start\navi \"v.avi\",0\nend\n"), 0)
        << h.log();
    EXPECT_TRUE(std::filesystem::is_empty(temp.path()));
}

} // namespace
