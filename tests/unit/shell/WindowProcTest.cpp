#include "shell/WindowProc.h"
#include "EngineHarness.h"
#include "shell/ShellState.h"

#include <gtest/gtest.h>

using namespace orv;
using orv::test::Harness;

TEST(WindowProc, ClicksKeysAndPositions) {
    Harness h;
    Engine& e = h.engine();
    ShellState& s = e.shell;
    windowProc(e, {EventKind::MouseMove, 10, 20, 0});
    EXPECT_EQ(s.pointerX, 10);
    EXPECT_EQ(s.pointerY, 20);
    EXPECT_EQ(s.lastMessage, EventKind::MouseMove);
    EXPECT_FALSE(s.clickFlag);

    windowProc(e, {EventKind::LButtonDown, 30, 40, 0});
    EXPECT_EQ(s.clickX, 30);
    EXPECT_FALSE(s.clickFlag);
    windowProc(e, {EventKind::LButtonUp, 31, 41, 0});
    EXPECT_TRUE(s.clickFlag);
    EXPECT_EQ(s.clickX, 31);
    EXPECT_EQ(s.clickY, 41);
    EXPECT_EQ(s.lastMessage, EventKind::LButtonUp);

    s.clickFlag = false;
    windowProc(e, {EventKind::Char, 0, 0, 'a'});
    EXPECT_FALSE(s.clickFlag);
    EXPECT_EQ(s.pointerX, 'a');
    windowProc(e, {EventKind::Char, 0, 0, 27});
    EXPECT_FALSE(s.clickFlag);
    windowProc(e, {EventKind::Char, 0, 0, ' '});
    EXPECT_TRUE(s.clickFlag);
    s.clickFlag = false;
    windowProc(e, {EventKind::Char, 0, 0, '\r'});
    EXPECT_TRUE(s.clickFlag);

    windowProc(e, {EventKind::RButtonUp, 50, 60, 0});
    EXPECT_TRUE(s.rightClickFlag);
    EXPECT_EQ(s.clickX, 50);
}

TEST(WindowProc, AClickWhileSkippingOnlyEndsTheSkipping) {
    Harness h;
    ShellState& s = h.engine().shell;
    s.skipMode = true;
    windowProc(h.engine(), {EventKind::LButtonUp, 5, 5, 0});
    EXPECT_FALSE(s.skipMode);
    EXPECT_FALSE(s.clickFlag);
    EXPECT_EQ(s.clickX, 0);
    s.skipMode = true;
    windowProc(h.engine(), {EventKind::RButtonUp, 5, 5, 0});
    EXPECT_FALSE(s.skipMode);
    EXPECT_FALSE(s.rightClickFlag);
    windowProc(h.engine(), {EventKind::LButtonUp, 5, 5, 0});
    EXPECT_TRUE(s.clickFlag);
}

TEST(WindowProc, CloseAsksAndEndsOnYes) {
    Harness h("answer yes\n");
    h.load("");
    h.engine().shell.skipMode = true;
    EXPECT_EQ(h.capture([&] { windowProc(h.engine(), {EventKind::Close, 0, 0, 0}); }), 0);
    EXPECT_EQ(h.log(), "[終了確認] 終了しますか？\n");
    EXPECT_FALSE(h.engine().shell.skipMode);
    EXPECT_TRUE(h.engine().shell.shuttingDown);
}

TEST(WindowProc, DecliningToCloseCarriesOnWithTheTimer) {
    Harness h("answer no\n");
    h.scenario("*define\ngame\n*start\nwait 50\nmov %0,1\nwait 250\nend\n");
    // The player closes the window during the first wait.
    h.platform().postEvent({EventKind::Close, 0, 0, 0});
    ASSERT_EQ(h.run(), 0);
    EXPECT_EQ(h.log(), "[終了確認] 終了しますか？\n");
    EXPECT_EQ(h.engine().vars.num[0], 1);
    // The window timer ticks again after the question.
    EXPECT_EQ(h.engine().shell.lastMessage, EventKind::Timer);
}

TEST(PumpOneEvent, DispatchesOneEventAtATime) {
    Harness h;
    h.platform().postEvent({EventKind::MouseMove, 1, 2, 0});
    h.platform().postEvent({EventKind::LButtonUp, 3, 4, 0});
    EXPECT_TRUE(pumpOneEvent(h.engine()));
    EXPECT_FALSE(h.engine().shell.clickFlag);
    EXPECT_TRUE(pumpOneEvent(h.engine()));
    EXPECT_TRUE(h.engine().shell.clickFlag);
    EXPECT_FALSE(pumpOneEvent(h.engine()));
}
