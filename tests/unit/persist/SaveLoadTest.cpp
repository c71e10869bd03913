// Saving and loading through the game's menu: what a load in the next run gives back; a load in
// the same run, its music, the slots it refuses and the list of twelve slots are the scenario
// folders save-load-page, save-load-music, save-load-refused-slots and save-slots-twelve.
#include "EngineHarness.h"
#include "Pictures.h"
#include "persist/SaveSlots.h"
#include "persist/SoundHooks.h"

#include <gtest/gtest.h>

using namespace orv;
using orv::test::Harness;

namespace {

// The menu's two entries, slot 1 of nine, and the confirmation's yes, with the menu's default
// pitch (26 x 28).
constexpr const char* kSaveEntry = "click 300 220\n";
constexpr const char* kLoadEntry = "click 300 250\n";
constexpr const char* kSlot1 = "click 300 170\n";
constexpr const char* kYes = "click 250 280\n";

const std::string kGame = R"(*define
rmenu "セーブ",save,"ロード",load
menuselectvoice "","","","","no.wav","",""
game
*start
setwindow 20,30,20,8,24,24,2,4,10,0,1,#203040,10,20,600,300
序章\
mov %1,7
mov $2,"abc"
bg #102030,1
ld c,"c.bmp",1
lsp 3,"s.bmp",10,20
monocro #ff8040
gosub *sub
end
*sub
ページ一@
mov %1,99
mov $2,"zzz"
mov %300,5
csp -1
cl c,1
bg black,1
monocro off
ページ二@
ページ三@
return
)";

// What a load must give back, read when the page's first line is drawn again.
struct Seen {
    Variables vars;
    LayerState layers;
    size_t gosubDepth = 0;
    TextWindow window;
    std::string lookback;
    int pages = 0;
};

class SaveLoad : public ::testing::Test {
protected:
    void prepare(Harness& h) {
        h.scenario(kGame);
        h.file("c.bmp", test::bmp24(4, 6, [](int, int) { return 0x00ff00u; }));
        h.file("s.bmp", test::bmp24(3, 3, [](int, int) { return 0x0000ffu; }));
    }

    // Records the state when the n-th "一" is drawn.
    void watch(Harness& h, int n) {
        h.platform().onTranscript = [&h, n, this](std::string_view utf8) {
            if (utf8 != "一" || ++count_ != n) return;
            const Engine& e = h.engine();
            seen_ = {e.vars,
                     e.graphics.layers,
                     e.interp.gosubStack.size(),
                     e.text.window,
                     std::string(e.text.lookback.text()),
                     e.text.lookback.pageCount()};
        };
    }

    void expectPageRestored(int32_t global) {
        const Seen& s = seen_;
        const LayerState& l = s.layers;
        EXPECT_EQ(std::tuple(s.vars.num[1], s.vars.str[2], s.vars.num[300], l.backgroundName,
                             pixelColor(l.background, 5, 5), l.standing[kCentre].name),
                  std::tuple(7, "abc", global, "#102030", 0x102030u, "c.bmp"));
        const Sprite& sprite = l.sprites.at(3);
        EXPECT_EQ(std::tuple(sprite.name, sprite.x, sprite.y, sprite.visible, s.gosubDepth),
                  std::tuple("s.bmp", 10, 20, 1, 1u));
        const FilterState& f = l.filters;
        EXPECT_EQ(std::tuple(f.monochrome, f.tintRed, f.tintGreen, f.tintBlue),
                  std::tuple(1, 255, 128, 64));
        const TextWindow& w = s.window;
        EXPECT_EQ(
            std::tuple(w.originX, w.charactersPerLine, w.pitchY, w.bold, w.windowColour, w.bottom),
            std::tuple(20, 20, 28, 0, 0x203040, 300));
        EXPECT_EQ(std::pair(s.lookback.substr(0, 5), s.pages), std::pair(S("序章\\"), 1));
    }

    int count_ = 0;
    Seen seen_;
};

TEST_F(SaveLoad, LoadInTheNextRun) {
    std::string slot;
    {
        Harness first(std::string("click\nrclick\n") + kSaveEntry + kSlot1 + kYes +
                      "click\nclick\nclick\n");
        prepare(first);
        EXPECT_EQ(first.run(), 0) << first.log();
        slot = test::readFile(first.dir() / "save1.dat");
    }
    Harness h(std::string("rclick\n") + kLoadEntry + kSlot1 + kYes + "click\nclick\nclick\n");
    prepare(h);
    h.file("save1.dat", slot);
    watch(h, 1);
    EXPECT_EQ(h.run(), 0) << h.log();
    // Global variables are not in the slot: this run's stay as they are.
    expectPageRestored(0);
}

TEST(SaveSound, LoadPlaysAgainOnlyWhatLoopedOrWasMusic) {
    struct Case {
        SlotSound saved;
        MusicResume resumed;
    };
    const Case cases[] = {
        // A one-shot CD track and MIDI play again once; a one-shot WAV does not.
        {{"a.mid", "v.wav", 4, 0, 0, 0, 0, ""}, {4, false, "a.mid", false, "", ""}},
        {{"a.mid", "v.wav", -1, 1, 1, 0, 0, ""}, {-1, false, "a.mid", true, "v.wav", ""}},
        {{"", "", 7, 0, 0, 1, 1, "m.mp3"}, {7, true, "", false, "", "m.mp3"}},
    };
    for (const Case& c : cases) EXPECT_EQ(musicToResume(c.saved), c.resumed);
}

} // namespace
