// Auto-forward on the virtual clock: a plain click wait ends by itself after a pause that grows
// with the text shown, a voice still speaking holds it, and a click or a choice switches it off.
#include "EngineHarness.h"
#include "SoundFiles.h"
#include "platform/headless/HeadlessAudio.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::Harness;

// The clock when each page ended, measured from when its last character was drawn.
struct PagePauses {
    std::vector<uint64_t> pauses;
    uint64_t lastCharacter = 0;

    explicit PagePauses(Harness& h) {
        h.platform().onTranscript = [this, &h](std::string_view utf8) {
            if (utf8 == "\f")
                pauses.push_back(h.platform().clock() - lastCharacter);
            else if (utf8 != "\n")
                lastCharacter = h.platform().clock();
        };
    }
};

void withAutoForward(Harness& h, AutoForwardSpeed speed) {
    h.engine().player.autoForward = true;
    h.engine().player.autoForwardSpeed = speed;
}

TEST(AutoForward, APageMovesOnAfterASecondAndATimePerCharacter) {
    const struct {
        AutoForwardSpeed speed;
        int perCharacterMs;
    } rows[] = {
        {AutoForwardSpeed::Slow, 60}, {AutoForwardSpeed::Normal, 40}, {AutoForwardSpeed::Fast, 25}};
    for (const auto& row : rows) {
        Harness h;
        // !s0 draws the page at once, so the pause is the wait alone.
        h.scenario(std::string(test::kPrologue) + "!s0あいう\\\n!s0あいうえおかきくけこ\\\nend\n");
        withAutoForward(h, row.speed);
        PagePauses pages(h);
        ASSERT_EQ(h.run(), 0) << h.log();
        ASSERT_EQ(pages.pauses.size(), 2u);
        for (int page = 0; page < 2; ++page) {
            const uint64_t expected = 1000 + uint64_t(row.perCharacterMs) * (page == 0 ? 3 : 10);
            EXPECT_GE(pages.pauses[size_t(page)], expected) << "page " << page;
            EXPECT_LE(pages.pauses[size_t(page)], expected + 3) << "page " << page;
        }
    }
}

TEST(AutoForward, AVoiceStillSpeakingHoldsThePage) {
    Harness h;
    h.file("v.wav", test::wavBytes(3000));
    h.scenario("*define\nclickvoice \"\",\"v.wav\"\ngame\n*start\n!s0あ\\\n!s0い\\\nend\n");
    h.engine().sound.makeDevice = [] { return std::make_unique<HeadlessAudio>(); };
    withAutoForward(h, AutoForwardSpeed::Normal);
    PagePauses pages(h);
    ASSERT_EQ(h.run(), 0) << h.log();
    ASSERT_EQ(pages.pauses.size(), 2u);
    EXPECT_LE(pages.pauses[0], 1043u) << "no voice before the first page";
    // The first page's end started the three-second voice; the second waits for it.
    EXPECT_GE(pages.pauses[1], 2990u);
    EXPECT_LE(pages.pauses[1], 3150u);
}

TEST(AutoForward, AClickSwitchesItOffAndThePageWaitsForThePlayer) {
    Harness h("wait 300\nclick\n");
    h.scenario(std::string(test::kPrologue) + "!s0あ\\\nend\n");
    withAutoForward(h, AutoForwardSpeed::Fast);
    EXPECT_EQ(h.run(), 3) << "the click only stopped auto-forward: the page still waits";
    EXPECT_FALSE(h.engine().player.autoForward);
}

TEST(AutoForward, AChoiceSwitchesItOff) {
    // The click comes after the page has moved on by itself, during the choice.
    Harness h("wait 1100\nclick 30 20\n");
    h.scenario(std::string(test::kPrologue) +
               "!s0あ\\\nselect \"一\",*a,\"二\",*a\n*a\n!s0い\\\nend\n");
    withAutoForward(h, AutoForwardSpeed::Fast);
    EXPECT_EQ(h.run(), 3) << "after the choice the page waits for the player";
    EXPECT_FALSE(h.engine().player.autoForward);
    EXPECT_NE(h.transcript().find("い"), std::string::npos) << "the line after the choice shows";
}

} // namespace
} // namespace orv
