#include "persist/Snapshot.h"

#include "interp/CommandTable.h"
#include "interp/ControlFlow.h"
#include "interp/Engine.h"
#include "interp/Timers.h"
#include "interp/VariableCommands.h"
#include "persist/SoundHooks.h"

#include <algorithm>

namespace orv {

namespace {

// Commands that neither wait for the player nor draw: the snapshot before them is always
// replaced by the one before the next statement of the page.
constexpr CommandHandler kKeepPageCommands[] = {
    cmdMov,  cmdAdd,  cmdSub,   cmdInc,    cmdDec,      cmdMul,        cmdDiv,
    cmdMod,  cmdRnd,  cmdRnd2,  cmdLen,    cmdCmp,      cmdIf,         cmdNotif,
    cmdGoto, cmdSkip, cmdGosub, cmdReturn, cmdGettimer, cmdResettimer,
};

bool keepsPage(const Engine& engine) {
    const StatementCache& cache = engine.interp.statementCache;
    const int32_t pos = engine.script.pos;
    const StatementCache::Entry& entry = cache.entries[size_t(pos) % StatementCache::kSize];
    // A statement not seen before is taken as one that may wait.
    return entry.pos == pos && entry.keepsPage &&
           cache.generation == engine.script.buffer.generation();
}

} // namespace

bool commandKeepsPage(const CommandInfo& command) {
    return std::find(std::begin(kKeepPageCommands), std::end(kKeepPageCommands), command.handler) !=
           std::end(kKeepPageCommands);
}

void captureSaveRecord(const Engine& engine, SaveRecord& r) {
    const TextState& text = engine.text;
    const TextWindow& w = text.window;
    const LayerState& layers = engine.graphics.layers;
    const EffectSpec& effect = engine.graphics.effects.windowEffect;

    r.reserved = 0;
    r.bold = w.bold;
    r.shadow = w.shadow;
    r.backlogText.assign(text.lookback.text());
    r.backlogPosition = static_cast<int32_t>(text.lookback.writePosition());
    r.backlogCount = text.lookback.pageCount();
    r.rightClickEnabled = engine.systemMenu.enabled ? 1 : 0;
    r.textRed = w.textColour.red;
    r.textBlue = w.textColour.blue;
    r.textGreen = w.textColour.green;
    for (size_t i = 0; i < 2; ++i) {
        const TextCursor& cursor = text.pacing.cursors[i];
        r.cursorNames[i] = cursor.name;
        r.cursorRelative[i] = cursor.relative ? 1 : 0;
        r.cursorX[i] = cursor.offsetX;
        r.cursorY[i] = cursor.offsetY;
    }
    r.windowEffectType = effect.type;
    r.windowEffectDuration = effect.duration;
    r.windowEffectMask = effect.image;
    r.originX = w.originX;
    r.originY = w.originY;
    r.charactersPerLine = w.charactersPerLine;
    r.lines = w.lines;
    r.glyphWidth = w.glyphWidth;
    r.glyphHeight = w.glyphHeight;
    r.pitchX = w.pitchX;
    r.pitchY = w.pitchY;
    r.windowColour = w.windowColour;
    r.characterDelay = w.characterDelay;
    r.windowLeft = w.left;
    r.windowTop = w.top;
    r.windowRight = w.right;
    r.windowBottom = w.bottom;
    r.windowPicture = w.windowPictureName;
    r.background = layers.backgroundName;
    for (size_t p = 0; p < 3; ++p) {
        r.standingNames[p] = layers.standing[p].name;
        r.standingX[p] = layers.standing[p].x;
        r.standingY[p] = layers.standing[p].y;
    }
    for (size_t i = 0; i < r.sprites.size(); ++i) {
        SlotSprite& out = r.sprites[i];
        if (i < layers.sprites.size() && !layers.sprites[i].name.empty()) {
            const Sprite& s = layers.sprites[i];
            out.name = s.name;
            out.x = s.x;
            out.y = s.y;
            out.visible = s.visible;
        } else {
            out.name.clear();
            out.x = out.y = out.visible = 0;
        }
    }
    for (size_t i = 0; i < r.locals.size(); ++i) {
        r.locals[i].number = engine.vars.num[i];
        r.locals[i].text = engine.vars.str[i];
    }
    r.scriptPosition = engine.script.pos;
    r.returnPositions = engine.interp.gosubStack;
    const FilterState& filters = layers.filters;
    r.monochrome = filters.monochrome;
    r.tint = {filters.tintRed, filters.tintGreen, filters.tintBlue};
    r.negativeMode = filters.negativeMode;
    r.sound = soundForSnapshot(engine);
    r.eraseFlag = w.eraseFlag;
    r.textMode = w.textMode;
}

void takeSnapshot(Engine& engine) {
    SaveSlotState& slots = engine.persist.slots;
    captureSaveRecord(engine, slots.snapshot);
    slots.hasSnapshot = true;
}

std::string snapshotBytes(Engine& engine) {
    SaveSlotState& slots = engine.persist.slots;
    // A save before any page of the game began keeps the state as it is now.
    if (!slots.hasSnapshot) takeSnapshot(engine);
    std::string bytes;
    encodeSaveRecord(slots.snapshot, bytes);
    return bytes;
}

void snapshotBeforeStatement(Engine& engine, bool command) {
    const TextWindow& w = engine.text.window;
    if (w.column != 0 || w.line != 0) return;
    if (command && keepsPage(engine)) return;
    takeSnapshot(engine);
}

} // namespace orv
