// The menu bar as the engine keeps it, the menu commands the window procedure carries out, and
// the window's script commands.
#include "shell/MenuCommands.h"
#include "CursorWriter.h"
#include "EngineHarness.h"
#include "graphics/Compose.h"
#include "shell/MainMenu.h"
#include "shell/ShellCommands.h"
#include "shell/ShellState.h"
#include "shell/WindowProc.h"

#include <gtest/gtest.h>

#include <tuple>

namespace orv {
namespace {

using test::Harness;

void command(Engine& e, int id) {
    windowProc(e, {EventKind::Command, 0, 0, id});
}

// Ids of the checked items among these, in the order given.
std::vector<int> checked(const MenuBar& menu, std::initializer_list<int> ids) {
    std::vector<int> out;
    for (int id : ids)
        if (menu.isChecked(id)) out.push_back(id);
    return out;
}

TEST(MainMenu, HasTheBarsEntriesInOrderWithTheirFirstCheckMarks) {
    const MenuBar menu = buildMainMenu();
    std::vector<std::string> labels;
    for (const MenuEntry& e : menu.entries()) labels.push_back(e.item.label);
    EXPECT_EQ(labels,
              (std::vector<std::string>{"終了", "画面", "フォント", "選択肢まで進む", "表示形式",
                                        "文字速度", "ＷＡＶＥ", "バージョン情報"}));
    EXPECT_FALSE(menu.entries()[0].popup);
    EXPECT_EQ(std::tuple(menu.entries()[0].item.id, menu.entries()[3].item.id,
                         menu.entries()[7].item.id, menu.entries()[5].items[2].id),
              std::tuple(kMenuQuit, kMenuSkip, kMenuVersion, kMenuSpeedFast));
    EXPECT_EQ(menu.find(kMenuClickDefault)->label, "デフォルト");
    EXPECT_EQ(menu.entries()[4].items[1].label, "一ページごと");
    EXPECT_EQ(checked(menu, {40001, 40002, 40003, 40004, 40005, 40006, 40007, 40008, 40014, 40015,
                             40016, 40017, 40018}),
              (std::vector<int>{40003, 40008, 40015, 40017}));
}

TEST(MenuCommands, SpeedsDisplayModeAndWaveMoveTheirCheckMarks) {
    Harness h;
    Engine& e = h.engine();
    const MenuBar& shown = h.platform().menuBar();
    // The command, its group of items, and the state after it: speed, display mode, WAVE.
    const struct {
        int id;
        std::initializer_list<int> group;
        int speed, mode;
        bool wave;
    } rows[] = {
        {kMenuSpeedFast, {40014, 40015, 40016}, 2, 0, true},
        {kMenuSpeedSlow, {40014, 40015, 40016}, 0, 0, true},
        {kMenuSpeedNormal, {40014, 40015, 40016}, 1, 0, true},
        {kMenuClickPage, {40007, 40008}, 1, 1, true},
        {kMenuClickDefault, {40007, 40008}, 1, 0, true},
        {kMenuWaveOff, {40017, 40018}, 1, 0, false},
        {kMenuWaveOn, {40017, 40018}, 1, 0, true},
    };
    for (const auto& r : rows) {
        command(e, r.id);
        EXPECT_EQ(checked(shown, r.group), std::vector<int>{r.id}) << r.id;
        EXPECT_EQ(std::tuple(e.shell.speedIndex, e.shell.displayMode, e.shell.waveEnabled),
                  std::tuple(r.speed, r.mode, r.wave))
            << r.id;
    }
    command(e, kMenuSkip);
    EXPECT_TRUE(e.shell.skipMode);
    // The platform's copy is the engine's.
    EXPECT_EQ(shown, e.shell.menu);
}

TEST(MenuCommands, OnePageAtATimeIsRefusedWhileAutoclickIsOn) {
    Harness h;
    Engine& e = h.engine();
    e.shell.autoclickMode = true;
    command(e, kMenuClickPage);
    EXPECT_EQ(e.shell.displayMode, 0);
    EXPECT_EQ(checked(e.shell.menu, {40007, 40008}), (std::vector<int>{40008}));
    // The way back is always open.
    e.shell.autoclickMode = false;
    command(e, kMenuClickPage);
    e.shell.autoclickMode = true;
    command(e, kMenuClickDefault);
    EXPECT_EQ(e.shell.displayMode, 0);
    EXPECT_EQ(checked(e.shell.menu, {40007, 40008}), (std::vector<int>{40008}));
}

TEST(MenuCommands, FontEntriesCheckOneAtATimeIncludingTheDefault) {
    Harness h;
    Engine& e = h.engine();
    fillFontMenu(e, {"IPAGothic", "IPAMincho"});
    std::vector<std::pair<int, std::string>> items;
    for (const MenuItem& i : e.shell.menu.entries()[2].items) items.emplace_back(i.id, i.label);
    EXPECT_EQ(items, (std::vector<std::pair<int, std::string>>{
                         {0, "IPAGothic"}, {1, "IPAMincho"}, {kMenuDefaultFont, "デフォルト"}}));
    EXPECT_EQ(std::pair(e.shell.fontCount, e.shell.fontNames[1]),
              std::pair(2, std::string("IPAMincho")));
    EXPECT_EQ(h.platform().menuBar(), e.shell.menu) << "the filled menu is handed over";

    EXPECT_EQ(checked(e.shell.menu, {0, 1, 40004}), (std::vector<int>{40004}));

    // Commands, the face chosen after them and the one font item checked (on the platform's
    // copy): choosing the same again keeps it; ids that name no font are left alone.
    e.text.window.scriptFace = S("ＭＳ 明朝");
    const struct {
        std::vector<int> ids;
        std::string face;
        int mark;
    } steps[] = {
        {{1}, "IPAMincho", 1},
        {{0, 0}, "IPAGothic", 0},
        {{kMenuDefaultFont, kMenuDefaultFont}, S("ＭＳ 明朝"), 40004},
        {{2, 255, 256, -1, 40009, 99999}, S("ＭＳ 明朝"), 40004},
    };
    for (const auto& step : steps) {
        for (int id : step.ids) command(e, id);
        EXPECT_EQ(e.text.window.chosenFace, step.face) << step.mark;
        EXPECT_EQ(checked(h.platform().menuBar(), {0, 1, 40004}), std::vector<int>{step.mark});
    }
}

TEST(MenuCommands, EachEngineStartRefillsTheFontMenuWithinTheTable) {
    Harness h;
    Engine& e = h.engine();
    fillFontMenu(e, {"A", "B", "C"});
    command(e, 2);
    fillFontMenu(e, {"D"});
    const std::vector<MenuItem>& fonts = e.shell.menu.entries()[2].items;
    ASSERT_EQ(fonts.size(), 2u) << "the earlier start's entries are gone";
    EXPECT_EQ(std::tuple(fonts[0].label, e.shell.fontCount, e.shell.fontNames[2],
                         e.shell.checkedFontItem),
              std::tuple("D", 1, "", kMenuDefaultFont));
    EXPECT_EQ(checked(e.shell.menu, {0, 40004}), (std::vector<int>{40004}));

    std::vector<std::string> many;
    for (int i = 0; i < 300; ++i) many.push_back("Face" + std::to_string(i));
    fillFontMenu(e, many);
    EXPECT_EQ(e.shell.fontCount, kFontTableSize);
    EXPECT_EQ(e.shell.menu.entries()[2].items.size(), size_t(kFontTableSize) + 1);
    EXPECT_EQ(e.shell.fontNames[255], "Face255");
    command(e, 255);
    EXPECT_EQ(e.text.window.chosenFace, "Face255");
}

TEST(MenuCommands, QuitAsksThroughCloseAndDecliningRestartsTheTimer) {
    Harness h("answer no\n");
    Engine& e = h.engine();
    command(e, kMenuQuit);
    EXPECT_EQ(h.log(), "") << "the question waits for the Close message";
    Event ev;
    ASSERT_TRUE(h.platform().takeEvent(ev));
    EXPECT_EQ(std::pair(ev.kind, ev.code), std::pair(EventKind::Close, 0));
    // No timer ran before; after the declined question the 100 ms timer ticks.
    EXPECT_EQ(h.capture([&] { windowProc(e, ev); }), -1);
    EXPECT_EQ(h.log(), "[終了確認] 終了しますか？\n");
    h.platform().sleep(99);
    EXPECT_FALSE(h.platform().hasEvent(EventKind::Timer));
    h.platform().sleep(1);
    EXPECT_TRUE(h.platform().hasEvent(EventKind::Timer));
}

TEST(MenuCommands, ATerminatingCloseEndsWithoutAsking) {
    Harness h("answer no\n");
    h.load("");
    Engine& e = h.engine();
    e.shell.skipMode = true;
    EXPECT_EQ(h.capture([&] { windowProc(e, {EventKind::Close, 0, 0, kCloseTerminate}); }), 0);
    EXPECT_EQ(h.log(), "");
    EXPECT_TRUE(e.shell.shuttingDown);
    EXPECT_EQ(h.platform().scriptRemaining(), 1u) << "the answer was not used";
}

// A platform whose display refuses to change.
class StubbornPlatform : public test::CapturingPlatform {
public:
    using CapturingPlatform::CapturingPlatform;
    bool setFullScreen(bool on) override {
        ++attempts;
        return on ? allowOn : false;
    }
    bool allowOn = false;
    int attempts = 0;
};

TEST(MenuCommands, FullScreenHidesTheBarUntilThePointerIsAtTheTop) {
    Harness h;
    Engine& e = h.engine();
    HeadlessPlatform& p = h.platform();
    command(e, kMenuWindow); // not full screen: nothing to do
    EXPECT_EQ(checked(e.shell.menu, {40002, 40003}), (std::vector<int>{40003}));

    // Full screen, shown bar, hidden flag: platform and engine agree.
    auto state = [&] {
        EXPECT_EQ(p.menuBarShown(), !e.shell.menuHidden);
        EXPECT_EQ(p.fullScreen(), e.shell.fullScreen);
        return std::pair(p.fullScreen(), p.menuBarShown());
    };
    command(e, kMenuFullScreen);
    EXPECT_EQ(state(), std::pair(true, false));
    EXPECT_EQ(checked(p.menuBar(), {40002, 40003}), (std::vector<int>{40002}));
    // The posted move to (0, 1) brings the bar back at once.
    ASSERT_TRUE(pumpOneEvent(e));
    EXPECT_EQ(e.shell.lastMessage, EventKind::MouseMove);
    EXPECT_EQ(state(), std::pair(true, true));
    for (auto [x, y, shown] : {std::tuple(300, 19, true), std::tuple(300, 20, false),
                               std::tuple(300, 400, false), std::tuple(5, 0, true)}) {
        windowProc(e, {EventKind::MouseMove, x, y, 0});
        EXPECT_EQ(state(), std::pair(true, shown)) << y;
    }
    command(e, kMenuFullScreen); // already: ignored
    EXPECT_EQ(state(), std::pair(true, true));

    command(e, kMenuWindow);
    EXPECT_EQ(state(), std::pair(false, true));
    EXPECT_EQ(checked(p.menuBar(), {40002, 40003}), (std::vector<int>{40003}));
    // In a window the pointer does not move the bar.
    windowProc(e, {EventKind::MouseMove, 300, 300, 0});
    EXPECT_TRUE(p.menuBarShown());
}

TEST(MenuCommands, RefusedDisplayChanges) {
    test::TempDir dir;
    std::ostringstream log;
    HeadlessOptions options;
    options.log = &log;
    StubbornPlatform p(options, {});
    Engine e(p, dir.path());
    e.script.buffer.assign("\n", ScenarioSource::Numbered);
    e.script.buffer.fileEnds()[0] = e.script.buffer.length() - 1;

    // Leaving full screen gives up after ten tries and changes nothing.
    e.shell.fullScreen = true;
    e.shell.menu.check(kMenuFullScreen, true);
    e.shell.menu.check(kMenuWindow, false);
    command(e, kMenuWindow);
    EXPECT_EQ(p.attempts, 10);
    EXPECT_TRUE(e.shell.fullScreen);
    EXPECT_EQ(checked(e.shell.menu, {40002, 40003}), (std::vector<int>{40002}));

    // Entering it is a fatal error.
    e.shell.fullScreen = false;
    int status = -1;
    try {
        command(e, kMenuFullScreen);
    } catch (const ExitRequest& exit) {
        status = exit.status;
    }
    EXPECT_EQ(status, 2);
    EXPECT_EQ(log.str().substr(0, log.str().find('\n')), "[error] DISP_CHANGE_FAILED");
}

TEST(WindowProcPaint, CopiesTheDisplaySurfaceUnlessAVideoPlays) {
    Harness h;
    Engine& e = h.engine();
    createEngineSurfaces(e.graphics);
    Surface& display = e.graphics.surfaces.display;
    ASSERT_EQ(display.width, 640);
    const int before = h.platform().presentCount();
    for (bool video : {false, true}) {
        e.shell.videoPlaying = video;
        display.row(100)[3 * 200 + 2] = video ? 0x11 : 0x7F;
        windowProc(e, {EventKind::Paint, 0, 0, 0});
        EXPECT_EQ(h.platform().window().row(100)[3 * 200 + 2], 0x7F) << video;
    }
    EXPECT_GT(h.platform().presentCount(), before);
}

std::string cursorFile(uint32_t rgb, uint32_t hotX) {
    const test::DibSpec layout{
        .width = 2, .height = 2, .depth = 24, .pixels = {rgb, rgb, rgb, rgb}};
    return test::buildIconFile(2, {{test::buildDib(layout), hotX, 0, 2, 2}});
}

TEST(MouseCursor, LoadsAFileSetsItInsideThePictureAndOffRestoresTheArrow) {
    Harness h;
    Engine& e = h.engine();
    h.file("cur/hand.cur", cursorFile(0x0000FF, 1));
    h.load("\"CUR\\Hand.cur\"");
    cmdMousecursor(e);
    ASSERT_TRUE(h.platform().cursor());
    EXPECT_EQ(std::pair(h.platform().cursor()->hotX, h.platform().cursor()->bgra[0]),
              std::pair(1, uint8_t(0xFF)))
        << "blue";

    // Each message with the pointer inside the picture sets it again; on the edge it does not.
    h.platform().setArrowCursor();
    windowProc(e, {EventKind::MouseMove, 0, 10, 0});
    EXPECT_FALSE(h.platform().cursor());
    windowProc(e, {EventKind::MouseMove, 10, 10, 0});
    EXPECT_TRUE(h.platform().cursor());
    h.platform().setArrowCursor();
    windowProc(e, {EventKind::Timer, 0, 0, 1});
    EXPECT_FALSE(h.platform().cursor()) << "the timer leaves the cursor alone";
    windowProc(e, {EventKind::Char, 0, 0, 'x'});
    EXPECT_TRUE(h.platform().cursor()) << "a key with the pointer still inside";

    h.load("off");
    cmdMousecursor(e);
    EXPECT_FALSE(h.platform().cursor());
    windowProc(e, {EventKind::MouseMove, 10, 10, 0});
    EXPECT_FALSE(h.platform().cursor());
}

// The errors are scenario tests (tests/scenarios/menu-err-mousecursor-*).
TEST(MouseCursor, AFileThatIsNoCursorLeavesTheArrow) {
    Harness h;
    h.file("bad.cur", "not a cursor");
    h.file("good.cur", cursorFile(0xFF0000, 0));
    h.load("\"good.cur\"");
    cmdMousecursor(h.engine());
    h.load("\"bad.cur\"");
    cmdMousecursor(h.engine());
    EXPECT_FALSE(h.platform().cursor());
    EXPECT_FALSE(h.engine().shell.customCursor);
}

TEST(MouseCursor, AnAnimatedCursorStepsThroughItsSequence) {
    ShellState shell;
    AnimatedCursor cursor;
    cursor.frames.resize(2);
    cursor.frames[0].width = 1;
    cursor.frames[1].width = 2;
    cursor.sequence = {1, 0, 1};
    cursor.ratesMs = {100, 200, 500};
    shell.customCursor = cursor;
    shell.customCursorSince = 1000;
    std::vector<int> widths;
    for (uint32_t now : {1000, 1099, 1100, 1299, 1300, 1799, 1800, 1900})
        widths.push_back(currentCursorFrame(shell, now)->width);
    EXPECT_EQ(widths, (std::vector<int>{2, 2, 1, 1, 2, 2, 2, 1})); // 1800: round again
    shell.customCursor.reset();
    EXPECT_EQ(currentCursorFrame(shell, 0), nullptr);
}

TEST(ShellCommands, CaptionAndTheMenuSwitchingCommandsInAScenario) {
    Harness h;
    h.scenario("*define\ngame\n*start\ncaption \"テスト　ゲーム\"\n"
               "menu_full\nmov %1,1\nmenu_click_page\nmov %2,1\n"
               "menu_window\nmenu_click_def\nmenu_click_page\nend\n");
    ASSERT_EQ(h.run(), 0);
    EXPECT_EQ(h.platform().title(), "テスト　ゲーム");
    EXPECT_FALSE(h.platform().fullScreen());
    Engine& e = h.engine();
    EXPECT_EQ(e.shell.displayMode, 1);
    EXPECT_EQ(checked(e.shell.menu, {40002, 40003, 40007, 40008}),
              (std::vector<int>{40003, 40007}));
}

TEST(ShellCommands, EveryEngineStartFillsTheFontMenuAndDropsTheCustomCursor) {
    Harness h;
    h.file("a.cur", cursorFile(0xFF0000, 0));
    // The clock tells the passes apart: the first sets the cursor and the player's choices, the
    // second only ends.
    h.scenario("*define\ngame\n*start\nwait 10\ngettimer %0\nif %0 >= 20 end\n"
               "mousecursor \"a.cur\"\ndefinereset\n");
    h.platform().postEvent({EventKind::Command, 0, 0, kMenuSpeedFast});
    h.platform().postEvent({EventKind::Command, 0, 0, kMenuWaveOff});
    h.platform().postEvent({EventKind::Command, 0, 0, kMenuClickPage});
    ASSERT_EQ(h.run(), 0);
    EXPECT_FALSE(h.platform().cursor()) << "the arrow again after definereset";
    const MenuBar& menu = h.platform().menuBar();
    EXPECT_TRUE(menu.isChecked(kMenuDefaultFont));
    // Speed and WAVE start over with their marks; the display mode is kept with its mark.
    EXPECT_EQ(h.engine().shell.speedIndex, 1);
    EXPECT_EQ(checked(menu, {40014, 40015, 40016, 40017, 40018, 40007, 40008}),
              (std::vector<int>{40015, 40017, 40007}));
}

} // namespace
} // namespace orv
