#include "persist/SaveCommands.h"

#include "interp/Engine.h"
#include "persist/SoundHooks.h"
#include "script/ErrorCaptions.h"
#include "script/ErrorReport.h"
#include "script/TokenReader.h"
#include "util/sjis.h"

namespace orv {

void cmdSavenumber(Engine& engine) {
    const int32_t n = readNumber(engine);
    // The labels' numbers go up to twenty.
    if (n < 1 || n > kMaxSlotCount)
        reportError(
            engine, S(caption::kError),
            formatMessage(S("savenumberのセーブ数%dは範囲外です。1～20で指定してください。"), n));
    engine.persist.slots.slotCount = n;
}

void cmdSavename(Engine& engine) {
    SaveSlotState& slots = engine.persist.slots;
    std::string save = readString(engine);
    expectComma(engine);
    std::string load = readString(engine);
    expectComma(engine);
    slots.slotWord = readString(engine);
    slots.saveTitle = std::move(save);
    slots.loadTitle = std::move(load);
}

void startSavePass(Engine& engine) {
    SaveSlotState& slots = engine.persist.slots;
    slots.slotCount = kDefaultSlotCount;
    slots.saveTitle = S("＜セーブ＞");
    slots.loadTitle = S("＜ロード＞");
    slots.slotWord = S("しおり");
}

void resetSavesToStart(Engine& engine) {
    engine.persist.slots.hasSnapshot = false;
}

} // namespace orv
