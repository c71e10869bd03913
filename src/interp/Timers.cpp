#include "interp/Timers.h"

#include "interp/Engine.h"
#include "script/ErrorCaptions.h"
#include "script/ErrorReport.h"
#include "script/TokenReader.h"
#include "shell/Wait.h"
#include "util/sjis.h"

namespace orv {

void timedWait(Engine& engine, int32_t ms, bool endOnClick) {
    Platform& platform = engine.platform;
    platform.discardEvents(EventKind::LButtonUp);
    platform.discardEvents(EventKind::Char);
    WaitRule rule;
    rule.deadline = platform.ticks() + uint32_t(ms);
    waitUntil(engine, rule, [endOnClick](const Event* event) {
        return endOnClick && event && event->kind == EventKind::LButtonUp;
    });
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
    WaitRule rule;
    rule.deadline = engine.interp.timerBase + uint32_t(readNumber(engine));
    waitUntil(engine, rule, [](const Event*) { return false; });
}

void cmdGettimer(Engine& engine) {
    int32_t index =
        readVariableRef(engine, '%', caption::kSyntax, "gettimerの引数は数字変数です。");
    engine.vars.num[size_t(index)] = int32_t(engine.platform.ticks() - engine.interp.timerBase);
    engine.vars.applyBounds();
}

} // namespace orv
