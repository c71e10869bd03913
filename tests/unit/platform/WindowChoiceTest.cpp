// What the desktop and the option table decide: the first start's scale from the desktop's
// size, and the manual page made from the same table as --help.
#include "app/Options.h"
#include "platform/sdl/SdlLayout.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

using namespace orv;

namespace {

TEST(DesktopScale, LargestWholeScaleThatLeavesRoomForTheFrame) {
    // {desktop width, height, scale}
    for (auto [w, h, scale] :
         {std::tuple(800, 600, 1), std::tuple(1366, 768, 1), std::tuple(1920, 1080, 2),
          std::tuple(2560, 1440, 2), std::tuple(3840, 2160, 4), std::tuple(15360, 8640, 8)})
        EXPECT_EQ(fittingScale(w, h), scale) << w << "x" << h;
}

TEST(ManualPage, NamesEveryOptionOfTheHelpTable) {
    const std::string page = manPage();
    EXPECT_EQ(page.rfind(".TH ORVANE 6", 0), 0u);
    for (const OptionHelp& option : optionTable()) {
        std::string roffName;
        for (char c : option.names) roffName += c == '-' ? std::string("\\-") : std::string(1, c);
        EXPECT_NE(page.find(".B " + roffName), std::string::npos) << option.names;
        EXPECT_NE(helpText().find(std::string(option.names)), std::string::npos) << option.names;
    }
}

TEST(Version, NamesTheScenarioLanguage) {
    EXPECT_NE(versionText().find("Orvane Version 1.22"), std::string::npos);
}

} // namespace
