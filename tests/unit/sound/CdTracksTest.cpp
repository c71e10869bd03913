// Which files of the game folder are the disc's tracks.
#include "sound/CdTracks.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace orv;

namespace {

TEST(CdTracks, NamesNumbersFoldersAndExtensions) {
    test::TempDir dir;
    for (const char* name :
         {"track02.wav", "track02.ogg", "TRACK05.Wav", "Cd/track05.flac", "track5.txt",
          "trackx.ogg", "track100.wav", "track0.wav", "bgm/track07.ogg", "mytrack08.ogg"})
        dir.write(name, "x");
    const auto tracks = findCdTracks(dir.path());
    ASSERT_EQ(tracks.size(), 2u);
    EXPECT_EQ(tracks.at(2).filename(), "track02.ogg");
    EXPECT_EQ(tracks.at(5), dir.path() / "Cd" / "track05.flac");
}

TEST(CdTracks, NoneInAnEmptyFolder) {
    test::TempDir dir;
    EXPECT_TRUE(findCdTracks(dir.path()).empty());
}

} // namespace
