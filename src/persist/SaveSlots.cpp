#include "persist/SaveSlots.h"

#include "graphics/GraphicsCommands.h"
#include "graphics/ImageLoader.h"
#include "graphics/Sprites.h"
#include "interp/Engine.h"
#include "media/StopAllMedia.h"
#include "persist/PlayerFiles.h"
#include "persist/Snapshot.h"
#include "persist/SoundHooks.h"
#include "text/TextWindow.h"

#include <algorithm>
#include <iostream>

namespace orv {

namespace {

// Sixty-four megabytes of variable texts and the rest of the record: a larger file holds
// nothing this engine could take.
constexpr size_t kMaxSlotFileBytes = kMaxStringTotalBytes + (size_t(1) << 20);

bool isSpaceOrTab(char c) {
    return c == ' ' || c == '\t';
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

// The line from lineStart begins with the word if or notif.
bool beginsWithCondition(std::string_view text, size_t lineStart, size_t end) {
    size_t i = lineStart;
    while (i < end && isSpaceOrTab(text[i])) ++i;
    for (std::string_view word : {std::string_view("if"), std::string_view("notif")}) {
        if (end - i > word.size() && text.compare(i, word.size(), word) == 0 &&
            !isLetter(text[i + word.size()]))
            return true;
    }
    return false;
}

void loadCursor(Engine& engine, size_t i, const SaveRecord& r) {
    TextCursor& cursor = engine.text.pacing.cursors[i];
    cursor.relative = r.cursorRelative[i] != 0;
    cursor.offsetX = r.cursorX[i];
    cursor.offsetY = r.cursorY[i];
    if (!r.cursorNames[i].empty()) {
        loadImage(engine, cursor.picture, r.cursorNames[i]);
        cursor.name = r.cursorNames[i];
        return;
    }
    // The default cursors are optional, as at the reset to the start.
    engine.graphics.optionalLoad = true;
    loadImage(engine, cursor.picture, kDefaultCursorText[i]);
    engine.graphics.optionalLoad = false;
    cursor.name.clear();
}

void restoreTextWindow(Engine& engine, const SaveRecord& r) {
    TextState& text = engine.text;
    TextWindow& w = text.window;
    w.bold = r.bold;
    w.shadow = r.shadow;
    w.textColour = {std::clamp(r.textRed, 0, 255), std::clamp(r.textGreen, 0, 255),
                    std::clamp(r.textBlue, 0, 255)};
    w.colourBeforeLink = w.textColour;
    w.inLink = false;
    w.originX = r.originX;
    w.originY = r.originY;
    w.charactersPerLine = r.charactersPerLine;
    w.lines = r.lines;
    w.glyphWidth = r.glyphWidth;
    w.glyphHeight = r.glyphHeight;
    w.pitchX = r.pitchX;
    w.pitchY = r.pitchY;
    w.windowColour = r.windowColour;
    w.characterDelay = r.characterDelay;
    w.left = r.windowLeft;
    w.top = r.windowTop;
    w.right = r.windowRight;
    w.bottom = r.windowBottom;
    w.eraseFlag = r.eraseFlag;
    w.textMode = r.textMode;
    // A fresh page, so the next statement takes the snapshot again.
    w.column = 0;
    w.line = 0;
    w.shown = false;
    engine.graphics.layers.textWindowInComposition = false;
    text.links.clear();
    text.pacing.cursorKind = kNoCursor;
    text.lookback.restore(r.backlogText, r.backlogCount);
    for (size_t i = 0; i < 2; ++i) loadCursor(engine, i, r);
    if (!r.windowPicture.empty() && r.windowColour == -1) {
        loadImage(engine, w.windowPicture, r.windowPicture);
        w.windowPictureName = r.windowPicture;
    } else {
        releaseSurface(w.windowPicture);
        w.windowPictureName.clear();
    }
    std::fill(text.textLayer.pixels.begin(), text.textLayer.pixels.end(), uint8_t{0});
    std::fill(text.coverage.begin(), text.coverage.end(), uint8_t{0});
    engine.graphics.effects.windowEffect =
        EffectSpec{r.windowEffectType, r.windowEffectDuration, r.windowEffectMask};
}

void restorePictures(Engine& engine, const SaveRecord& r) {
    LayerState& layers = engine.graphics.layers;
    setBackground(engine, r.background);
    for (size_t p = 0; p < 3; ++p) {
        StandingPicture& standing = layers.standing[p];
        standing.name = r.standingNames[p];
        if (standing.name.empty())
            releaseSurface(standing.picture);
        else
            loadImage(engine, standing.picture, standing.name);
        standing.x = r.standingX[p];
        standing.y = r.standingY[p];
    }
    for (int i = 0; i < kSlotSpriteCount; ++i) {
        const SlotSprite& saved = r.sprites[static_cast<size_t>(i)];
        if (saved.name.empty()) {
            if (static_cast<size_t>(i) < layers.sprites.size())
                layers.sprites[static_cast<size_t>(i)] = Sprite{};
            continue;
        }
        Sprite& sprite = spriteAt(layers, i);
        sprite.name = saved.name;
        loadImage(engine, sprite.picture, sprite.name);
        sprite.x = clampSpritePosition(saved.x);
        sprite.y = clampSpritePosition(saved.y);
        sprite.visible = saved.visible;
    }
    FilterState& filters = layers.filters;
    filters.monochrome = r.monochrome;
    filters.tintRed = std::clamp(r.tint[0], 0, 255);
    filters.tintGreen = std::clamp(r.tint[1], 0, 255);
    filters.tintBlue = std::clamp(r.tint[2], 0, 255);
    filters.negativeMode = r.negativeMode;
}

void restoreInterpreter(Engine& engine, const SaveRecord& r) {
    Variables& vars = engine.vars;
    for (int32_t i = 0; i < kSlotLocalCount; ++i) {
        const SlotVariable& saved = r.locals[static_cast<size_t>(i)];
        vars.num[size_t(i)] = saved.number;
        // A text the variables' total cannot take stays empty rather than pass it.
        if (vars.stringFits(i, saved.text.size()))
            vars.str[size_t(i)] = saved.text;
        else
            vars.str[size_t(i)].clear();
    }
    engine.interp.gosubStack = r.returnPositions;
    // A trap belongs to the statements that armed it, which the load leaves behind.
    engine.interp.trapLabel.clear();
    engine.script.pos = r.scriptPosition;
    engine.systemMenu.enabled = r.rightClickEnabled != 0;
}

void refuse(Engine& engine, int slot, const std::string& why) {
    std::cerr << "orvane: cannot load " << slotFileName(slot) << ": " << why << "\n";
    engine.platform.messageBox("ロードエラー", why, MessageBoxButtons::Ok);
}

} // namespace

std::string slotFileName(int slot) {
    return "save" + std::to_string(slot) + ".dat";
}

bool writeSlot(Engine& engine, int slot) {
    return writePlayerFile(engine, slotFileName(slot), snapshotBytes(engine));
}

bool isStatementStart(std::string_view text, int32_t pos) {
    if (pos < 0 || static_cast<size_t>(pos) >= text.size()) return false;
    const char c = text[static_cast<size_t>(pos)];
    if (isSpaceOrTab(c) || c == '\n' || c == ':' || c == '\0') return false;
    size_t i = static_cast<size_t>(pos);
    // Blanks, ':' and line feeds are never the second byte of a two-byte character, so stepping
    // back over them cannot land inside one.
    while (i > 0 && isSpaceOrTab(text[i - 1])) --i;
    if (i == 0 || text[i - 1] == '\n' || text[i - 1] == ':') return true;
    if (!isLetter(c) || i == static_cast<size_t>(pos)) return false;
    const size_t newline = text.rfind('\n', i - 1);
    return beginsWithCondition(text, newline == std::string_view::npos ? 0 : newline + 1, i);
}

std::optional<std::string> slotProblem(const Engine& engine, const SaveRecord& r,
                                       SlotDamage damage) {
    if (damage != SlotDamage::None || r.charactersPerLine < 0 || r.lines < 0)
        return std::string("このセーブデータは壊れているため、ロードできません。");
    const std::string_view text = engine.script.buffer.text();
    // Saves are made in the game block only: a position before it is one the slot lost.
    const int32_t gameStart = engine.script.labels.find("start").value_or(0);
    const bool positionsSound =
        r.scriptPosition >= gameStart && isStatementStart(text, r.scriptPosition) &&
        std::all_of(r.returnPositions.begin(), r.returnPositions.end(),
                    [&](int32_t p) { return p >= 0 && static_cast<size_t>(p) <= text.size(); });
    if (!positionsSound)
        return std::string("このセーブデータの再開位置が今のシナリオの文の始まりではありません"
                           "（セーブの後でシナリオが変わったようです）。ロードできません。");
    return std::nullopt;
}

LoadOutcome loadSlot(Engine& engine, int slot) {
    const std::optional<std::string> bytes =
        engine.persist.files.read(slotFileName(slot), kMaxSlotFileBytes);
    if (!bytes) return LoadOutcome::Missing;
    SaveRecord record;
    const SlotDamage damage = decodeSaveRecord(*bytes, record);
    if (const std::optional<std::string> problem = slotProblem(engine, record, damage)) {
        refuse(engine, slot, *problem);
        return LoadOutcome::Refused;
    }
    stopAllMedia(engine);
    restoreTextWindow(engine, record);
    restorePictures(engine, record);
    restoreInterpreter(engine, record);
    restoreMusicAfterLoad(engine, record.sound);
    engine.graphics.layers.dirty = kWholeScreen;
    showDirty(engine, 1, 0, {});
    return LoadOutcome::Loaded;
}

} // namespace orv
