// A save slot's bytes: one fixed sequence of 32-bit little-endian integers and zero-terminated
// Shift-JIS texts, without header or version, so that slot files stay interchangeable with every
// other reader of the format. The snapshot buffer holds the same bytes.
//
// The field list exists once, in walkSaveRecord: the writer and the reader both walk it, so the
// two directions cannot drift apart.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

inline constexpr int kSlotSpriteCount = 256;
inline constexpr int kSlotLocalCount = 200;
// The engine's name fields hold 255 bytes and their end; no picture or sound name is longer.
inline constexpr size_t kMaxSlotNameBytes = 255;
// The lookback store's size with the text's end.
inline constexpr size_t kMaxSlotBacklogBytes = 89999;

struct SlotSprite {
    std::string name;
    int32_t x = 0;
    int32_t y = 0;
    int32_t visible = 0;
    bool operator==(const SlotSprite&) const = default;
};

struct SlotVariable {
    int32_t number = 0;
    std::string text;
    bool operator==(const SlotVariable&) const = default;
};

// What was sounding, as the sound side keeps it: names, the CD track (-1 for none) and the four
// loop flags. Every field of a record starts at zero or empty, as a slot cut short reads.
struct SlotSound {
    std::string midiName;
    std::string wavName;
    int32_t cdTrack = 0;
    int32_t midiLoop = 0;
    int32_t wavLoop = 0;
    int32_t cdLoop = 0;
    int32_t mp3Loop = 0;
    std::string mp3Name; // only while the MP3 loops
    bool operator==(const SlotSound&) const = default;
};

struct SaveRecord {
    int32_t reserved = 0;
    int32_t bold = 0;
    int32_t shadow = 0;
    std::string backlogText;
    int32_t backlogPosition = 0;
    int32_t backlogCount = 0;
    int32_t rightClickEnabled = 0;
    int32_t textRed = 0; // stored red, blue, green
    int32_t textBlue = 0;
    int32_t textGreen = 0;
    std::array<std::string, 2> cursorNames;
    int32_t windowEffectType = 0;
    int32_t windowEffectDuration = 0;
    std::string windowEffectMask;
    int32_t originX = 0;
    int32_t originY = 0;
    int32_t charactersPerLine = 0;
    int32_t lines = 0;
    int32_t glyphWidth = 0;
    int32_t glyphHeight = 0;
    int32_t pitchX = 0;
    int32_t pitchY = 0;
    int32_t windowColour = 0;
    int32_t characterDelay = 0;
    int32_t windowLeft = 0;
    int32_t windowTop = 0;
    int32_t windowRight = 0;
    int32_t windowBottom = 0;
    std::string windowPicture;
    std::array<int32_t, 2> cursorRelative{};
    std::array<int32_t, 2> cursorX{};
    std::array<int32_t, 2> cursorY{};
    std::string background;
    std::array<std::string, 3> standingNames; // left, centre, right
    std::array<int32_t, 3> standingX{};
    std::array<int32_t, 3> standingY{};
    std::array<SlotSprite, kSlotSpriteCount> sprites;
    std::array<SlotVariable, kSlotLocalCount> locals;
    int32_t scriptPosition = 0;
    std::vector<int32_t> returnPositions; // the gosub stack from the bottom
    int32_t monochrome = 0;
    std::array<int32_t, 3> tint{}; // red, green, blue
    int32_t negativeMode = 0;
    SlotSound sound;
    int32_t eraseFlag = 0;
    int32_t textMode = 0;
    bool operator==(const SaveRecord&) const = default;
};

// Walks every field in the file's order. The walker has integer(int32_t&), name(std::string&)
// (a picture or sound name), text(std::string&) (a variable's text), backlog(std::string&) and
// positions(std::vector<int32_t>&) (a count, then that many integers); the record is const for a
// writer. Every text is its bytes and a zero byte, whatever the step.
template <class Record, class Walker> void walkSaveRecord(Record& r, Walker& w) {
    w.integer(r.reserved);
    w.integer(r.bold);
    w.integer(r.shadow);
    w.backlog(r.backlogText);
    w.integer(r.backlogPosition);
    w.integer(r.backlogCount);
    w.integer(r.rightClickEnabled);
    w.integer(r.textRed);
    w.integer(r.textBlue);
    w.integer(r.textGreen);
    w.name(r.cursorNames[0]);
    w.name(r.cursorNames[1]);
    w.integer(r.windowEffectType);
    w.integer(r.windowEffectDuration);
    w.name(r.windowEffectMask);
    w.integer(r.originX);
    w.integer(r.originY);
    w.integer(r.charactersPerLine);
    w.integer(r.lines);
    w.integer(r.glyphWidth);
    w.integer(r.glyphHeight);
    w.integer(r.pitchX);
    w.integer(r.pitchY);
    w.integer(r.windowColour);
    w.integer(r.characterDelay);
    w.integer(r.windowLeft);
    w.integer(r.windowTop);
    w.integer(r.windowRight);
    w.integer(r.windowBottom);
    w.name(r.windowPicture);
    w.integer(r.cursorRelative[0]);
    w.integer(r.cursorRelative[1]);
    w.integer(r.cursorX[0]);
    w.integer(r.cursorX[1]);
    w.integer(r.cursorY[0]);
    w.integer(r.cursorY[1]);
    w.name(r.background);
    for (auto& name : r.standingNames) w.name(name);
    for (auto& x : r.standingX) w.integer(x);
    for (auto& y : r.standingY) w.integer(y);
    for (auto& sprite : r.sprites) {
        w.name(sprite.name);
        w.integer(sprite.x);
        w.integer(sprite.y);
        w.integer(sprite.visible);
    }
    for (auto& local : r.locals) {
        w.integer(local.number);
        w.text(local.text);
    }
    w.integer(r.scriptPosition);
    w.positions(r.returnPositions);
    w.integer(r.monochrome);
    for (auto& channel : r.tint) w.integer(channel);
    w.integer(r.negativeMode);
    w.name(r.sound.midiName);
    w.name(r.sound.wavName);
    w.integer(r.sound.cdTrack);
    w.integer(r.sound.midiLoop);
    w.integer(r.sound.wavLoop);
    w.integer(r.sound.cdLoop);
    w.integer(r.sound.mp3Loop);
    w.name(r.sound.mp3Name);
    w.integer(r.eraseFlag);
    w.integer(r.textMode);
}

// Replaces out's contents with the record's bytes (its memory is kept).
void encodeSaveRecord(const SaveRecord& record, std::string& out);

// Why a slot's bytes cannot be loaded; None when they can (missing fields read as zeros and
// empty texts).
enum class SlotDamage {
    None,
    LongName,       // a picture or sound name of 256 bytes or more
    DeepGosubStack, // a depth below 0 or past the gosub stack: the fields after it are lost
};

// Reads whatever the bytes hold into every field of record (zeros and empty texts past the end). A
// backlog text longer than the lookback store is dropped, a variable's text is cut at the
// variables' own limit.
SlotDamage decodeSaveRecord(std::string_view bytes, SaveRecord& record);

} // namespace orv
