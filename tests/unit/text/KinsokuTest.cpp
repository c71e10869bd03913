#include "text/Kinsoku.h"
#include "util/sjis.h"

#include <gtest/gtest.h>

using namespace orv;

namespace {

TwoByteChar ch(const char* utf8) {
    const std::string b = S(utf8);
    return {static_cast<unsigned char>(b[0]), static_cast<unsigned char>(b[1])};
}

int glueOf(const char* utf8) {
    const std::string text = S(utf8);
    return kinsokuGlue(lookAhead(text, 0));
}

} // namespace

TEST(LookAhead, CollectsTwoByteCharactersAndPassesOverTheRest) {
    const std::string text = S("あ!s20#ff0000いab う");
    const LookAhead a = lookAhead(text, 0);
    ASSERT_EQ(a.count, 3);
    EXPECT_EQ((std::vector(a.chars.begin(), a.chars.begin() + 3)),
              (std::vector{ch("あ"), ch("い"), ch("う")}));
    EXPECT_FALSE(a.explicitWait);
}

TEST(LookAhead, NoticesAnExplicitWaitOnlyBeforeTheFirstCharacter) {
    EXPECT_TRUE(lookAhead(S("!d100@あ"), 0).explicitWait);
    EXPECT_TRUE(lookAhead(S("ab\\"), 0).explicitWait);
    EXPECT_FALSE(lookAhead(S("あ@"), 0).explicitWait);
    // 0x40 ('@') as the second byte of a character is not a wait.
    EXPECT_FALSE(lookAhead("\x81\x40\x82\xa0", 0).explicitWait);
}

TEST(LookAhead, StopsAfter128BytesOrAtTheEnd) {
    std::string text(200, 'x');
    text += S("あ");
    EXPECT_EQ(lookAhead(text, 0).count, 0);
    EXPECT_EQ(lookAhead(text, 80).count, 1);
    // A lead byte at the very end is taken with a missing (0) second byte.
    const LookAhead cut = lookAhead("\x82", 0);
    ASSERT_EQ(cut.count, 1);
    EXPECT_EQ(cut.chars[0].second, 0);
    std::string withNul("a\0\x82\xa0", 4);
    EXPECT_EQ(lookAhead(withNul, 0).count, 0);
}

TEST(Kinsoku, GluesBracketsToWhatFollowsAndMarksToWhatPrecedes) {
    // After （い comes the closing bracket; in ああ。 the mark belongs to the second あ. Nothing
    // glues with fewer than two characters.
    const std::pair<const char*, int> cases[] = {
        {"「い", 1},   {"「『い", 2}, {"（い）", 2}, {"あ。", 1}, {"あ。」", 2},
        {"あーー", 2}, {"ああ。", 0}, {"「", 0},     {"", 0},     {"あい", 0}};
    for (auto [text, glue] : cases) EXPECT_EQ(glueOf(text), glue) << text;
}

TEST(Kinsoku, BothSetsAreExact) {
    for (const char* c : {"（", "［", "｛", "「", "『"})
        EXPECT_TRUE(isLineEndForbidden(ch(c))) << c;
    for (const char* c : {"、", "。", "，", "．", "・", "？", "！", "゛", "゜", "ヽ",
                          "ヾ", "ゝ", "ゞ", "々", "ー", "）", "］", "｝", "」", "』"})
        EXPECT_TRUE(isLineStartForbidden(ch(c))) << c;
    for (const char* c : {"あ", "ぁ", "っ", "〜", "…", "】", "〕"}) {
        EXPECT_FALSE(isLineEndForbidden(ch(c))) << c;
        EXPECT_FALSE(isLineStartForbidden(ch(c))) << c;
    }
}

TEST(CharacterList, ComparesTwoBytesAtATimeFromTheStart) {
    const std::string list = S("。」");
    EXPECT_TRUE(inCharacterList(list, ch("。")));
    EXPECT_TRUE(inCharacterList(list, ch("」")));
    // The second byte of 。 and the first of 」 are no character of the list.
    const TwoByteChar straddling{static_cast<unsigned char>(list[1]),
                                 static_cast<unsigned char>(list[2])};
    EXPECT_FALSE(inCharacterList(list, straddling));
    EXPECT_FALSE(inCharacterList("\x81", TwoByteChar{0x81, 0}));
}
