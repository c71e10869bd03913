#include "interp/Timers.h"

#include "interp/Engine.h"
#include "script/ErrorCaptions.h"
#include "script/ErrorReport.h"
#include "script/TokenReader.h"
#include "shell/WindowProc.h"
#include "util/sjis.h"

namespace orv {

namespace {

// Whether the wrapping clock has reached the deadline. The difference is taken
// as signed, so a negative time is a deadline in the past even while the clock
// is small (the virtual clock starts at 0) and a wait across the clock's wrap
// lasts its time.
bool reached(uint32_t now, uint32_t deadline) {
    return int32_t(now - deadline) >= 0;
}

} // namespace

void timedWait(Engine& engine, int32_t ms, bool endOnClick) {
    Platform& platform = engine.platform;
    WaitKindScope scope(platform, WaitKind::None);
    platform.discardEvents(EventKind::LButtonUp);
    platform.discardEvents(EventKind::Char);
    uint32_t deadline = platform.ticks() + uint32_t(ms);
    do {
        if (pumpOneEvent(engine) && endOnClick && engine.shell.lastMessage == EventKind::LButtonUp)
            return;
    } while (!reached(platform.ticks(), deadline));
}

void cmdWait(Engine& engine) {
    timedWait(engine, readNumber(engine), false);
}

void cmdDelay(Engine& engine) {
    timedWait(engine, readNumber(engine), true);
}

void cmdResettimer(Engine& engine) {
    engine.interp.timerBase = engine.platform.ticks();
}

void cmdWaittimer(Engine& engine) {
    Platform& platform = engine.platform;
    uint32_t deadline = engine.interp.timerBase + uint32_t(readNumber(engine));
    WaitKindScope scope(platform, WaitKind::None);
    pumpOneEvent(engine);
    while (!reached(platform.ticks(), deadline)) pumpOneEvent(engine);
}

void cmdGettimer(Engine& engine) {
    int32_t index =
        readVariableRef(engine, '%', caption::kSyntax, "gettimerの引数は数字変数です。");
    engine.vars.num[size_t(index)] = int32_t(engine.platform.ticks() - engine.interp.timerBase);
    engine.vars.applyBounds();
}

} // namespace orv
