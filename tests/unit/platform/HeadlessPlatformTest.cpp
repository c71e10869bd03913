#include "platform/headless/HeadlessPlatform.h"

#include "app/HeadlessBackend.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <tuple>

namespace orv {
namespace {

struct Rig {
    std::ostringstream log;
    std::unique_ptr<HeadlessPlatform> p;

    explicit Rig(std::string_view script, HeadlessOptions options = {}) {
        std::vector<ScriptEvent> events;
        std::string error;
        EXPECT_TRUE(parseEventScript(script, events, error)) << error;
        options.log = &log;
        p = std::make_unique<HeadlessPlatform>(options, std::move(events));
    }

    // Takes one event; kind Paint with code -1 when none was there.
    Event take() {
        Event e;
        if (!p->takeEvent(e)) return {EventKind::Paint, 0, 0, -1};
        return e;
    }
    // The next n events as kind, x, y, code.
    std::vector<std::tuple<EventKind, int, int, int>> take(int n) {
        std::vector<std::tuple<EventKind, int, int, int>> out;
        for (int i = 0; i < n; ++i) {
            const Event e = take();
            out.emplace_back(e.kind, e.x, e.y, e.code);
        }
        return out;
    }
    // The exit status of taking events until the platform ends the run.
    int statusTakingForever() {
        try {
            for (;;) take();
        } catch (const ExitRequest& e) {
            return e.status;
        }
    }
};

using Events = std::vector<std::tuple<EventKind, int, int, int>>;
constexpr EventKind kMove = EventKind::MouseMove, kDown = EventKind::LButtonDown,
                    kUp = EventKind::LButtonUp, kChar = EventKind::Char;

int exitStatusOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const ExitRequest& e) {
        return e.status;
    }
    return -1;
}

TEST(HeadlessClock, SleepAndIdlePollsAdvanceTheVirtualClock) {
    Rig r("");
    r.p->sleep(250);
    EXPECT_EQ(r.p->ticks(), 250u);
    EXPECT_EQ(r.take(5), Events(5, {EventKind::Paint, 0, 0, -1}));
    EXPECT_EQ(r.p->ticks(), 255u);
    // A poll that finds something costs no time.
    r.p->postEvent({EventKind::Char, 0, 0, 'x'});
    EXPECT_TRUE(r.p->hasEvent(EventKind::Char));
    EXPECT_EQ(r.take(1), (Events{{kChar, 0, 0, 'x'}}));
    EXPECT_EQ(r.p->ticks(), 255u);
    // The millisecond clock wraps like the one it stands for.
    r.p->sleep(0xFFFFFFFFu);
    EXPECT_EQ(r.p->ticks(), 254u);
    EXPECT_EQ(r.p->clock(), 255u + 0xFFFFFFFFull);
}

TEST(HeadlessClock, TimersFireOnTheVirtualClock) {
    Rig r("");
    r.p->setTimer(1, 100);
    r.p->sleep(99);
    EXPECT_FALSE(r.p->hasEvent(EventKind::Timer));
    r.p->sleep(1);
    EXPECT_EQ(r.take(2), (Events{{EventKind::Timer, 0, 0, 1}, {EventKind::Paint, 0, 0, -1}}));
    r.p->killTimer(1);
    r.p->sleep(500);
    EXPECT_FALSE(r.p->hasEvent(EventKind::Timer));
}

TEST(HeadlessClock, MaxTimeEndsWithStatusFour) {
    HeadlessOptions o;
    o.maxTimeMs = 100;
    Rig r("", o);
    r.p->sleep(99);
    EXPECT_EQ(exitStatusOf([&] { r.p->sleep(1); }), 4);

    // Idle polls: the hundredth reaches the limit and throws.
    Rig idle("", o);
    EXPECT_EQ((std::pair{idle.statusTakingForever(), idle.p->clock()}),
              std::pair(4, uint64_t(100)));
}

TEST(HeadlessDelivery, PlayerInputWaitsForAPlayerWait) {
    Rig r("click 10 20\nclick\nrclick 30 40\nkey escape\ntext a\xE3\x81\x82\n");
    EXPECT_EQ(r.take(3), Events(3, {EventKind::Paint, 0, 0, -1}));
    EXPECT_FALSE(r.p->hasEvent(EventKind::LButtonDown));

    r.p->setWaitKind(WaitKind::Player);
    // Without a position the click lands where the pointer is.
    EXPECT_EQ(r.take(5), (Events{{kMove, 10, 20, 0},
                                 {kDown, 10, 20, 0},
                                 {kUp, 10, 20, 0},
                                 {kDown, 10, 20, 0},
                                 {kUp, 10, 20, 0}}));
    r.p->setWaitKind(WaitKind::PlayerOrTime);
    EXPECT_EQ(r.take(3), (Events{{kMove, 30, 40, 0},
                                 {EventKind::RButtonDown, 30, 40, 0},
                                 {EventKind::RButtonUp, 30, 40, 0}}));
    EXPECT_EQ(r.p->pointerX(), 30);
    EXPECT_EQ(r.take(3),
              (Events{{kChar, 30, 40, 27}, {kChar, 30, 40, 'a'}, {kChar, 30, 40, 0x3042}}));
    EXPECT_EQ(r.p->scriptRemaining(), 0u);
}

TEST(HeadlessDelivery, DeliveredInputMustBeTakenBeforeTheNextEntry) {
    Rig r("click\nclick\n");
    r.p->setWaitKind(WaitKind::Player);
    EXPECT_EQ(r.take().kind, EventKind::LButtonDown);
    // The wait ended on the press; the release is still queued when the
    // engine goes back to running text, and the second click is kept back.
    r.p->setWaitKind(WaitKind::None);
    EXPECT_EQ(r.take(2), (Events{{kUp, 0, 0, 0}, {EventKind::Paint, 0, 0, -1}}));
    EXPECT_EQ(r.p->scriptRemaining(), 1u);
    r.p->setWaitKind(WaitKind::Player);
    EXPECT_EQ(r.take().kind, EventKind::LButtonDown);
}

TEST(HeadlessDelivery, WaitsAddUpFromWhenThePreviousEventWasDelivered) {
    Rig r("move 1 1\nwait 50\nwait 30\nkey a\n");
    r.p->sleep(1000);
    EXPECT_EQ(r.take(1), (Events{{kMove, 1, 1, 0}}));
    r.p->sleep(79);
    EXPECT_EQ(r.take().code, -1);
    EXPECT_EQ(r.p->clock(), 1080u);
    EXPECT_EQ(r.take(1), (Events{{kChar, 1, 1, 'a'}}));
}

TEST(HeadlessDelivery, FailedShotIsReportedAndTheRunGoesOn) {
    test::TempDir dir;
    Rig r("shot " + (dir.path() / "no/such/x.png").string() + "\nkey c\n");
    r.p->setWaitKind(WaitKind::Player);
    EXPECT_EQ(r.take(1), (Events{{kChar, 0, 0, 'c'}}));
    EXPECT_NE(r.log.str().find("cannot write screenshot"), std::string::npos);
}

TEST(HeadlessDelivery, StrayAnswerLapsesAtAPlayerWait) {
    Rig r("answer no\nclick\n");
    r.p->setWaitKind(WaitKind::Player);
    EXPECT_EQ(r.take().kind, EventKind::LButtonDown);
    EXPECT_EQ(r.p->scriptRemaining(), 0u);
}

TEST(HeadlessExhausted, PlayerWaitWithNothingLeftEndsWithStatusThree) {
    Rig r("");
    r.p->setWaitKind(WaitKind::PlayerOrTime);
    EXPECT_EQ(r.take().code, -1); // a timeout can still end this wait
    r.p->setWaitKind(WaitKind::Player);
    r.p->postEvent({EventKind::Timer, 0, 0, 1});
    EXPECT_EQ(r.take().kind, EventKind::Timer); // queued events come first
    EXPECT_EQ(exitStatusOf([&] { r.take(); }), 3);

    // A trailing wait still lets its time pass first.
    Rig t("wait 5\n");
    t.p->setWaitKind(WaitKind::Player);
    EXPECT_EQ((std::pair{t.statusTakingForever(), t.p->clock()}), std::pair(3, uint64_t(5)));

    // Input held for a player wait is not "nothing left".
    Rig h("key a\n");
    h.p->setWaitKind(WaitKind::Player);
    EXPECT_EQ(h.take().kind, EventKind::Char);
    EXPECT_EQ(exitStatusOf([&] { h.take(); }), 3);
}

TEST(HeadlessAutoClick, ClicksAtThePointerOnceTheScriptIsUsedUp) {
    HeadlessOptions o;
    o.autoClick = true;
    Rig r("click 7 8\n", o);
    EXPECT_EQ(r.take().code, -1); // busy: neither the script nor auto-click
    r.p->setWaitKind(WaitKind::Player);
    const Events click = {{kDown, 7, 8, 0}, {kUp, 7, 8, 0}};
    const Events automatic = {{kDown, 7, 8, kAutomaticClick}, {kUp, 7, 8, kAutomaticClick}};
    EXPECT_EQ(r.take(3), (Events{{kMove, 7, 8, 0}, click[0], click[1]}));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(r.take(2), automatic);
    r.p->setWaitKind(WaitKind::PlayerOrTime);
    EXPECT_EQ(r.take(2), automatic);
    r.p->setWaitKind(WaitKind::None);
    EXPECT_EQ(r.take().code, -1);
}

TEST(HeadlessMessageBox, PrintsAndTakesTheNextAnswer) {
    Rig r("answer no\nanswer ok\nanswer no\nanswer yes\nclick\nwait 10\nanswer no\n");
    EXPECT_EQ(r.p->messageBox("Cap", "line one\nline two", MessageBoxButtons::YesNo),
              MessageBoxResult::No);
    EXPECT_EQ(r.log.str(), "[Cap] line one\nline two\n");
    // An OK answer to a yes/no box is yes, any answer to an OK box OK; with no answer next: OK,
    // or yes.
    auto box = [&](MessageBoxButtons b) { return r.p->messageBox("c", "t", b); };
    using B = MessageBoxButtons;
    using R = MessageBoxResult;
    EXPECT_EQ((std::vector{box(B::YesNo), box(B::Ok), box(B::Ok), box(B::YesNo)}),
              (std::vector{R::Yes, R::Ok, R::Ok, R::Yes}));
    EXPECT_EQ(r.p->scriptRemaining(), 3u);
    r.p->setWaitKind(WaitKind::Player);
    EXPECT_EQ(r.take(2), (Events{{kDown, 0, 0, 0}, {kUp, 0, 0, 0}}));
    // An answer behind a wait is not due yet.
    EXPECT_EQ(box(B::YesNo), R::Yes);
    r.p->sleep(10);
    EXPECT_EQ(box(B::YesNo), R::No);
    EXPECT_EQ(r.p->scriptRemaining(), 0u);
}

TEST(HeadlessWindow, DiscardTakesOnlyTheGivenKind) {
    Rig r("");
    r.p->postEvent({EventKind::Char, 0, 0, 1});
    r.p->postEvent({EventKind::Paint, 0, 0, 0});
    r.p->discardEvents(EventKind::Char);
    EXPECT_FALSE(r.p->hasEvent(EventKind::Char));
    EXPECT_EQ(r.take().kind, EventKind::Paint);
}

TEST(HeadlessBackend, CreatesFromOptionsAndReportsStartUpFailures) {
    test::TempDir dir;
    Options o;
    o.headless = true;
    std::string error;

    o.eventsFile = dir.write("bad.txt", "click\nclick 1\n").string();
    EXPECT_FALSE(createHeadlessPlatform(o, &error));
    EXPECT_EQ(error.rfind("events file 2: ", 0), 0u) << error;

    o.eventsFile = (dir.path() / "absent.txt").string();
    EXPECT_FALSE(createHeadlessPlatform(o, &error));
    EXPECT_NE(error.find("absent.txt"), std::string::npos);

    o.eventsFile.clear();
    o.transcriptFile = (dir.path() / "no/dir/t.txt").string();
    EXPECT_FALSE(createHeadlessPlatform(o, &error));
    EXPECT_NE(error.find("transcript"), std::string::npos);

    // Screenshot names stay relative to the directory the run started in.
    o.transcriptFile = (dir.path() / "t.txt").string();
    o.eventsFile = dir.write("ok.txt", "shot rel.png\n").string();
    auto startDir = std::filesystem::current_path();
    std::filesystem::create_directory(dir.path() / "game");
    std::unique_ptr<Platform> p;
    std::filesystem::current_path(dir.path());
    p = createHeadlessPlatform(o, &error);
    std::filesystem::current_path(dir.path() / "game");
    ASSERT_TRUE(p) << error;
    EXPECT_TRUE(p->isHeadless());
    p->setWaitKind(WaitKind::PlayerOrTime);
    Event e;
    EXPECT_FALSE(p->takeEvent(e));
    std::filesystem::current_path(startDir);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "rel.png"));
    p->writeTranscript("text\f");
    p.reset();
    EXPECT_EQ(test::readFile(dir.path() / "t.txt"), "text\f");
}

} // namespace
} // namespace orv
