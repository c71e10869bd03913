#include "shell/WindowProc.h"
#include "EngineHarness.h"
#include "shell/ShellState.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace orv;
using orv::test::Harness;

TEST(WindowProc, ClicksKeysAndPositions) {
    Harness h;
    ShellState& s = h.engine().shell;
    using K = EventKind;
    using State = std::tuple<int, int, int, int, bool, bool>;
    // Each event, with both click flags cleared before it, and after it: the pointer, the click
    // position, the click and right-click flags. A key's code stands in for the pointer's x.
    const std::pair<Event, State> steps[] = {
        {{K::MouseMove, 10, 20, 0}, {10, 20, 0, 0, false, false}},
        {{K::LButtonDown, 30, 40, 0}, {30, 40, 30, 40, false, false}},
        {{K::LButtonUp, 31, 41, 0}, {31, 41, 31, 41, true, false}},
        {{K::Char, 0, 0, 'a'}, {'a', 41, 31, 41, false, false}},
        {{K::Char, 0, 0, 27}, {27, 41, 31, 41, false, false}},
        {{K::Char, 0, 0, ' '}, {' ', 41, 31, 41, true, false}},
        {{K::Char, 0, 0, '\r'}, {'\r', 41, 31, 41, true, false}},
        {{K::RButtonUp, 50, 60, 0}, {50, 60, 50, 60, false, true}},
    };
    for (const auto& [event, want] : steps) {
        s.clickFlag = s.rightClickFlag = false;
        windowProc(h.engine(), event);
        EXPECT_EQ(State(s.pointerX, s.pointerY, s.clickX, s.clickY, s.clickFlag, s.rightClickFlag),
                  want)
            << int(event.kind) << " " << event.code;
        EXPECT_EQ(s.lastMessage, event.kind);
    }
}

TEST(WindowProc, AClickWhileSkippingOnlyEndsTheSkipping) {
    Harness h;
    ShellState& s = h.engine().shell;
    for (EventKind up : {EventKind::LButtonUp, EventKind::RButtonUp}) {
        s.skipMode = true;
        windowProc(h.engine(), {up, 5, 5, 0});
        EXPECT_EQ(std::tuple(s.skipMode, s.clickFlag, s.rightClickFlag, s.clickX),
                  std::tuple(false, false, false, 0));
    }
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

TEST(PumpOneEvent, DispatchesOneEventAtATime) {
    Harness h;
    h.platform().postEvent({EventKind::MouseMove, 1, 2, 0});
    h.platform().postEvent({EventKind::LButtonUp, 3, 4, 0});
    std::vector<std::pair<bool, bool>> pumped; // pumped, click seen
    for (int i = 0; i < 3; ++i)
        pumped.emplace_back(pumpOneEvent(h.engine()), h.engine().shell.clickFlag);
    EXPECT_EQ(pumped,
              (std::vector<std::pair<bool, bool>>{{true, false}, {true, true}, {false, true}}));
}
