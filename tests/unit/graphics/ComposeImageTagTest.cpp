#include "graphics/ImageTag.h"

#include <gtest/gtest.h>

#include <tuple>

namespace orv {
namespace {

ImageTag parsed(std::string_view text, TransMode defaultMode = TransMode::LeftUp) {
    ImageTag tag;
    EXPECT_EQ(parseImageTag(text, defaultMode, tag), ImageTagProblem::None) << text;
    return tag;
}

ImageTagProblem problemOf(std::string_view text) {
    ImageTag tag;
    return parseImageTag(text, TransMode::LeftUp, tag);
}

TEST(ComposeImageTagTest, PlainNamesTakeTheDefaultModeAndOneCell) {
    ImageTag tag = parsed("bg\\sky.bmp", TransMode::Copy);
    EXPECT_EQ(std::tuple(tag.fileName, tag.mode, tag.cellCount, tag.animated),
              std::tuple("bg\\sky.bmp", TransMode::Copy, 1, false));
}

TEST(ComposeImageTagTest, ModeLettersAndBlanksAfterTheColon) {
    EXPECT_EQ(parsed(":l;a.bmp", TransMode::Copy).mode, TransMode::LeftUp);
    EXPECT_EQ(parsed(": \t l;a.bmp", TransMode::Copy).mode, TransMode::LeftUp);
    EXPECT_EQ(parsed(":a;a.bmp").mode, TransMode::Alpha);
    EXPECT_EQ(parsed(":c;a.bmp").mode, TransMode::Copy);
    // An unknown letter is not a mode: the default stays and the letter is skipped.
    ImageTag other = parsed(":x;a.bmp", TransMode::Alpha);
    EXPECT_EQ(other.mode, TransMode::Alpha);
    EXPECT_EQ(other.fileName, "a.bmp");
    // Only the first letter is the mode.
    EXPECT_EQ(parsed(":ca;a.bmp").mode, TransMode::Copy);
}

TEST(ComposeImageTagTest, ColourAndIndexKeys) {
    ImageTag colour = parsed(":#Ff00a1;k.bmp");
    EXPECT_EQ(std::tuple(colour.mode, colour.keyedByColour, colour.keyColour, colour.fileName),
              std::tuple(TransMode::Keyed, true, 0xff00a1u, "k.bmp"));
    ImageTag index = parsed(":!17;k.bmp");
    EXPECT_EQ(std::tuple(index.mode, index.keyedByIndex, index.keyIndex),
              std::tuple(TransMode::Keyed, true, 17));
    for (const char* bad : {":#ff00f;k.bmp", ":#ff0g00;k.bmp", ":#ff"})
        EXPECT_EQ(problemOf(bad), ImageTagProblem::BadColour) << bad;
}

TEST(ComposeImageTagTest, AnimationClauses) {
    ImageTag cursor = parsed(":l/3,160,2;cursor0.bmp");
    EXPECT_EQ(std::tuple(cursor.animated, cursor.cellCount, cursor.cellTime, cursor.loopMode,
                         cursor.fileName),
              std::tuple(true, 3, 160, 2, "cursor0.bmp"));

    ImageTag list = parsed(":c/4,<100,100,400,100>,0;walk.bmp");
    EXPECT_EQ(std::tuple(list.mode, list.cellTime, list.loopMode),
              std::tuple(TransMode::Copy, -1, 0));
    EXPECT_EQ(list.cellTimes, (std::vector<int>{100, 100, 400, 100}));

    // Anything up to the comma after the count is skipped, and any separator goes in the list.
    ImageTag loose = parsed(":a/2 cells,<5;6>,1;x.bmp");
    EXPECT_EQ(std::tuple(loose.cellCount, loose.loopMode), std::tuple(2, 1));
    EXPECT_EQ(loose.cellTimes, (std::vector<int>{5, 6}));
}

TEST(ComposeImageTagTest, MalformedTags) {
    EXPECT_EQ(problemOf(":l/3,<100,200>,0;a.bmp"), ImageTagProblem::Malformed); // short list
    EXPECT_EQ(problemOf(":l/2,<100,200,0;a.bmp"), ImageTagProblem::Malformed);  // no '>'
    EXPECT_EQ(problemOf(":l/2,<100"), ImageTagProblem::Malformed);              // list cut off
    EXPECT_EQ(problemOf(":l/3;a.bmp"), ImageTagProblem::Malformed);     // no comma after the count
    EXPECT_EQ(problemOf(":l/3,100;a.bmp"), ImageTagProblem::Malformed); // nor after the time
    EXPECT_EQ(problemOf(":l a.bmp"), ImageTagProblem::Malformed);       // no ';'
    EXPECT_EQ(problemOf(":l/0,100,0;a.bmp"), ImageTagProblem::Malformed); // no cells
}

TEST(ComposeImageTagTest, TheFileNameIsEverythingAfterTheSemicolon) {
    EXPECT_EQ(parsed(":c;a b;c.bmp").fileName, "a b;c.bmp");
    EXPECT_EQ(parsed(":c;").fileName, "");
}

} // namespace
} // namespace orv
