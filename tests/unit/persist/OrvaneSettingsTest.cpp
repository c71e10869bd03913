// Orvane's own settings file: what a hand-edited or newer file gives, and that a run which changes
// nothing leaves no file behind.
#include "persist/OrvaneSettings.h"
#include "EngineHarness.h"
#include "TestSupport.h"
#include "shell/Shutdown.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace orv;
using orv::test::Harness;

TEST(OrvaneSettings, ReadsHandEditedTextAndKeepsUnknownKeys) {
    OrvaneSettings settings;
    settings.parse("# comment\r\n scale = 3 \r\n\n; other\nno equals sign\n=4\n"
                   "volume.music=250\nfuture.key=x=y\nfullscreen=on\n");
    EXPECT_FALSE(settings.changed());
    EXPECT_EQ(settings.getInt("scale", 1, 1, 8), 3);
    EXPECT_EQ(settings.getInt("volume.music", 100, 0, 100), 100); // out of range
    EXPECT_EQ(settings.getInt("future.key", 7, 0, 9), 7);         // not a number
    EXPECT_TRUE(settings.getBool("fullscreen", false));
    EXPECT_EQ(settings.get("future.key"), "x=y");

    settings.setInt("scale", 3);
    EXPECT_FALSE(settings.changed()); // same value
    settings.set("title", "a\nb");
    EXPECT_TRUE(settings.changed());
    EXPECT_EQ(settings.serialize(), "# Orvane's own settings for this game\nscale=3\n"
                                    "volume.music=250\nfuture.key=x=y\nfullscreen=on\ntitle=ab\n");
}

TEST(OrvaneSettings, WrittenAtTheEndOnlyWhenSomethingChanged) {
    Harness h;
    h.file("orvane.ini", "scale=2\n");
    EXPECT_EQ(h.run("*define\ngame\n*start\nend\n"), 0);
    EXPECT_EQ(h.engine().persist.settings.getInt("scale", 1, 1, 8), 2);

    Harness fresh;
    EXPECT_EQ(fresh.run("*define\ngame\n*start\nend\n"), 0);
    EXPECT_FALSE(fs::exists(fresh.dir() / "orvane.ini"));

    // A choice made during the run (as the player's menu would) is written when the run ends.
    Harness changing;
    changing.scenario("*define\ngame\n*start\nend\n");
    loadOrvaneSettings(changing.engine());
    changing.engine().persist.settings.setInt("scale", 4);
    EXPECT_EQ(changing.capture([&] { shutDown(changing.engine(), 0); }), 0);
    EXPECT_EQ(test::readFile(changing.dir() / "orvane.ini"),
              "# Orvane's own settings for this game\nscale=4\n");
}
