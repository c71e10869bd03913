// The window's own keys and title: F12 writes the picture into a new file of the pictures folder
// and notes it in the title for a moment, and the title names the game folder until the
// scenario's caption. F11 and Alt+Enter are tests/scenarios/shell-keys-full-screen*.
#include "EngineHarness.h"
#include "ScopedEnv.h"
#include "platform/Png.h"
#include "shell/Screenshot.h"
#include "shell/WindowTitle.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace orv;
using orv::test::Harness;
using orv::test::ScopedEnv;
using orv::test::TempDir;

namespace {

std::vector<std::filesystem::path> filesIn(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(ScreenshotKey, EachPressWritesANewPictureOfTheWindow) {
    TempDir pictures;
    TempDir shots;
    ScopedEnv env("XDG_PICTURES_DIR", pictures.path().c_str());
    const std::filesystem::path reference = shots.path() / "window.png";
    // The player menu's item (41050) takes the same picture as the key.
    Harness h("key f12\nshot " + reference.string() + "\nmenu 41050\nclick\n");
    EXPECT_EQ(h.run("*define\ngame\n*start\nbg #ff0000,1\nあ@\nend\n"), 0) << h.log();
    const auto files = filesIn(pictures.path() / "Orvane");
    ASSERT_EQ(files.size(), 2u) << "the second picture must not overwrite the first";
    const auto expected = readPng(reference.string());
    ASSERT_TRUE(expected);
    for (const auto& file : files) {
        const auto image = readPng(file.string());
        ASSERT_TRUE(image) << file;
        EXPECT_EQ(std::tuple(image->width, image->height), std::tuple(640, 480));
        EXPECT_TRUE(image->rgb == expected->rgb) << file;
    }
}

TEST(ScreenshotKey, FolderFromUserDirsThenPictures) {
    TempDir home;
    ScopedEnv noPictures("XDG_PICTURES_DIR", nullptr);
    ScopedEnv homeEnv("HOME", home.path().c_str());
    ScopedEnv noConfig("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(screenshotFolder(), home.path() / "Pictures" / "Orvane");
    home.write(".config/user-dirs.dirs", "# made by hand\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n");
    EXPECT_EQ(screenshotFolder(), home.path() / "Bilder" / "Orvane");
}

TEST(WindowTitle, FolderNameUntilCaptionWithANoteForTwoSeconds) {
    TempDir pictures;
    ScopedEnv env("XDG_PICTURES_DIR", pictures.path().c_str());
    Harness h("key f12\nwait 1500\nclick\n");
    std::vector<std::string> titles;
    h.platform().onTranscript = [&](std::string_view text) {
        if (text != "\n") titles.push_back(h.platform().title());
    };
    h.scenario("*define\ngame\n*start\n一@\n二\nwait 1000\n三\ncaption \"物語\"\n四\nend\n");
    EXPECT_EQ(h.run(), 0) << h.log();
    const std::string folder = h.dir().filename().string();
    ASSERT_EQ(titles.size(), 4u);
    EXPECT_EQ(titles[0], folder);
    EXPECT_TRUE(titles[1].starts_with("Screenshot saved: orvane-")) << titles[1];
    EXPECT_EQ(titles[2], folder);
    EXPECT_EQ(titles[3], "物語");
    EXPECT_EQ(folderTitle(h.dir().string() + "/."), folder);
}

} // namespace
