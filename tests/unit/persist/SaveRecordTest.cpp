// The slot file's bytes: the order of the fields, what a file cut short or damaged gives, which
// read positions a load accepts, and the labels of the slot list.
#include "persist/SaveRecord.h"
#include "persist/SaveSlots.h"
#include "persist/SlotList.h"
#include "util/sjis.h"

#include <gtest/gtest.h>

using namespace orv;

namespace {

std::string int32le(int32_t v) {
    std::string s;
    for (int i = 0; i < 4; ++i) s += static_cast<char>(static_cast<uint32_t>(v) >> (8 * i));
    return s;
}

SaveRecord sampleRecord() {
    SaveRecord r;
    r.bold = 1;
    r.shadow = 2;
    r.backlogText = "ab";
    r.backlogPosition = 2;
    r.backlogCount = 1;
    r.rightClickEnabled = 1;
    r.textRed = 10;
    r.textBlue = 30;
    r.textGreen = 20;
    r.cursorNames = {"c0.bmp", "c1.bmp"};
    r.background = "#102030";
    r.sprites[255] = {"s.bmp", -4, 5, 1};
    r.locals[199] = {-9, "\x82\xa0"};
    r.scriptPosition = 77;
    r.returnPositions = {11, 22};
    r.tint = {255, 128, 64};
    r.sound.cdTrack = 3;
    r.sound.mp3Name = "m.mp3";
    r.eraseFlag = 1;
    r.textMode = 1;
    return r;
}

TEST(SaveRecord, WritesTheFieldsInTheFileOrder) {
    const SaveRecord r = sampleRecord();
    std::string bytes;
    encodeSaveRecord(r, bytes);
    // reserved, bold, shadow, the backlog, its position and count, the rmode flag, then the text
    // colour as red, blue, green.
    const std::string head = int32le(0) + int32le(1) + int32le(2) + std::string("ab\0", 3) +
                             int32le(2) + int32le(1) + int32le(1) + int32le(10) + int32le(30) +
                             int32le(20) + std::string("c0.bmp\0c1.bmp\0", 14);
    EXPECT_EQ(bytes.substr(0, head.size()), head);
    // The end: the MP3 name, the erase flag, the text mode.
    EXPECT_EQ(bytes.substr(bytes.size() - 14), std::string("m.mp3\0", 6) + int32le(1) + int32le(1));
    // The gosub stack as its depth and entries right after the script position.
    EXPECT_NE(bytes.find(int32le(77) + int32le(2) + int32le(11) + int32le(22)), std::string::npos);

    SaveRecord back;
    EXPECT_EQ(decodeSaveRecord(bytes, back), SlotDamage::None);
    EXPECT_EQ(back, r);
}

TEST(SaveRecord, FileCutShortReadsZerosAndEmptyTexts) {
    const SaveRecord r = sampleRecord();
    std::string bytes;
    encodeSaveRecord(r, bytes);
    const size_t positionAt = bytes.find(int32le(77) + int32le(2));
    struct Cut {
        size_t size;
        bool backlogWhole, spritesKept, positionKept;
        size_t stackDepth; // a depth cut in two reads as 0
    };
    for (const Cut& cut :
         {Cut{13, false, false, false, 0}, Cut{positionAt, true, true, false, 0},
          Cut{positionAt + 6, true, true, true, 0}, Cut{bytes.size() - 2, true, true, true, 2}}) {
        SCOPED_TRACE(cut.size);
        SaveRecord back = sampleRecord();
        EXPECT_EQ(decodeSaveRecord(std::string_view(bytes).substr(0, cut.size), back),
                  SlotDamage::None);
        EXPECT_EQ(back.backlogText, cut.backlogWhole ? "ab" : "a");
        EXPECT_EQ(back.sprites[255].name, cut.spritesKept ? "s.bmp" : "");
        EXPECT_EQ(back.scriptPosition, cut.positionKept ? 77 : 0);
        EXPECT_EQ(back.returnPositions.size(), cut.stackDepth);
        EXPECT_EQ(back.textMode, 0);
        EXPECT_EQ(back.sound.mp3Name, cut.size == bytes.size() - 2 ? "m.mp3" : "");
    }
}

TEST(SaveRecord, DamagedFieldsAreNamed) {
    struct Case {
        const char* name;
        void (*spoil)(SaveRecord&);
        SlotDamage damage;
    };
    const Case cases[] = {
        {"deep stack", [](SaveRecord& r) { r.returnPositions.assign(1001, 5); },
         SlotDamage::DeepGosubStack},
        {"long sprite name", [](SaveRecord& r) { r.sprites[0].name.assign(256, 'a'); },
         SlotDamage::LongName},
        {"long sound name", [](SaveRecord& r) { r.sound.wavName.assign(300, 'w'); },
         SlotDamage::LongName},
        {"longest name", [](SaveRecord& r) { r.background.assign(255, 'b'); }, SlotDamage::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SaveRecord r = sampleRecord();
        c.spoil(r);
        std::string bytes;
        encodeSaveRecord(r, bytes);
        SaveRecord back;
        EXPECT_EQ(decodeSaveRecord(bytes, back), c.damage);
    }
    // A backlog past the lookback store is dropped; the rest of the slot is sound.
    SaveRecord r = sampleRecord();
    r.backlogText.assign(90000, 'x');
    std::string bytes;
    encodeSaveRecord(r, bytes);
    SaveRecord back;
    EXPECT_EQ(decodeSaveRecord(bytes, back), SlotDamage::None);
    EXPECT_EQ(back.backlogText, "");
    EXPECT_EQ(back.scriptPosition, 77);
}

TEST(SaveSlots, StatementStarts) {
    const std::string text = "*start\n  mov %0,1 : bg black,1\nif %0 = 1 goto *a\nabc:def\n";
    struct Case {
        int32_t pos;
        bool start;
    };
    const auto at = [&](std::string_view s) { return static_cast<int32_t>(text.find(s)); };
    for (const Case& c : {Case{at("mov"), true}, Case{at("bg"), true}, Case{at("if"), true},
                          Case{at("goto"), true}, Case{at("abc"), true}, Case{at("ov %0"), false},
                          Case{at(" mov"), false}, Case{at("black"), false}, Case{at("*a"), false},
                          Case{-1, false}, Case{static_cast<int32_t>(text.size()), false}}) {
        SCOPED_TRACE(c.pos);
        EXPECT_EQ(isStatementStart(text, c.pos), c.start);
    }
}

TEST(SlotList, LabelsOfNineAndTwelveSlots) {
    const std::string word = S("しおり");
    std::tm jan3{};
    jan3.tm_mon = 0;
    jan3.tm_mday = 3;
    jan3.tm_hour = 9;
    jan3.tm_min = 5;
    EXPECT_EQ(slotDateText(jan3), S("　１月　３日　９時０５分"));
    EXPECT_EQ(slotLabel(word, 1, 9, jan3), S("しおり１　　１月　３日　９時０５分"));
    EXPECT_EQ(slotLabel(word, 9, 9, std::nullopt), S("しおり９　－－－－－－－－－－－－"));
    EXPECT_EQ(slotLabel(word, 1, 12, std::nullopt), S("しおり　１　－－－－－－－－－－－－"));
    EXPECT_EQ(slotLabel(word, 12, 12, std::nullopt), S("しおり１２　－－－－－－－－－－－－"));
    EXPECT_EQ(slotNameBytes(word, 9), S("しおり１").size());
    EXPECT_EQ(slotNameBytes(word, 12), S("しおり１２").size());
}

} // namespace
