// The input dialog's model: where its parts lie with and without the size arguments, and how the
// field edits and 決定 is pressed.
#include "platform/InputDialogView.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

int right(const MenuBox& b) {
    return b.x + b.w;
}

TEST(InputDialogView, SizeArgumentsInPointsKeepTheButtonTwentyPointsFromTheRightEdge) {
    const InputDialogView plain("c", "p", std::nullopt);
    for (const InputDialogSize size :
         {InputDialogSize{300, 81, 150, 21}, InputDialogSize{201, 60, 90, 15}}) {
        const InputDialogView v("c", "p", size);
        EXPECT_EQ((std::pair(v.box().w, v.box().h)),
                  std::pair(size.dialogWidth * 4 / 3, size.dialogHeight * 4 / 3));
        EXPECT_EQ((std::pair(v.fieldBox().w, v.fieldBox().h)),
                  std::pair(size.fieldWidth * 4 / 3, size.fieldHeight * 4 / 3));
        EXPECT_EQ(right(v.box()) - right(v.buttonBox()), pointsToPixels(20));
        EXPECT_EQ((std::pair(v.buttonBox().y, v.buttonBox().h)),
                  std::pair(v.fieldBox().y, v.fieldBox().h));
        // The corner and the field's place stay.
        EXPECT_EQ((std::pair(v.box().x, v.box().y)), std::pair(plain.box().x, plain.box().y));
        EXPECT_EQ((std::pair(v.fieldBox().x, v.fieldBox().y)),
                  std::pair(plain.fieldBox().x, plain.fieldBox().y));
    }
    // 13 points is 17.33 pixels: rounded as a multiply-divide rounds.
    EXPECT_EQ(pointsToPixels(13), 17);
    EXPECT_EQ(pointsToPixels(-13), -17);
}

TEST(InputDialogView, AWideDialogMovesLeftToStayInTheWindow) {
    const InputDialogView v("c", "p", InputDialogSize{450, 100, 300, 20});
    EXPECT_EQ(right(v.box()), kScreenWidth);
    EXPECT_EQ(v.box().w, 600);
}

TEST(InputDialogView, TheFieldEditsAtTheCaret) {
    InputDialogView v("c", "p", std::nullopt);
    v.type("a\x01\xE3\x81\x82z"); // a, a control byte (dropped), あ, z
    EXPECT_EQ(v.text(), "a\xE3\x81\x82z");
    v.key(FieldKey::Left);
    v.key(FieldKey::Backspace);
    EXPECT_EQ(v.text(), "az");
    v.key(FieldKey::Home);
    v.type("b");
    v.key(FieldKey::Delete);
    EXPECT_EQ((std::pair(v.text(), v.caret())), std::pair(std::string("bz"), size_t(1)));
}

TEST(InputDialogView, EnterPressesDecideUnlessTheInputMethodIsComposing) {
    InputDialogView v("c", "p", std::nullopt);
    v.compose("\xE3\x81\x8B"); // か, not yet finished
    EXPECT_FALSE(v.key(FieldKey::Enter).submitted);
    v.type("\xE7\xA7\x91"); // 科: the composition ends in it
    EXPECT_EQ(v.composition(), "");
    EXPECT_TRUE(v.key(FieldKey::Enter).submitted);
    EXPECT_EQ(v.text(), "\xE7\xA7\x91");
}

TEST(InputDialogView, TheButtonNeedsThePressAndTheReleaseOnIt) {
    InputDialogView v("c", "p", std::nullopt);
    const MenuBox b = v.buttonBox();
    const int x = b.x + b.w / 2, y = b.y + b.h / 2;
    v.buttonDown(x, y);
    EXPECT_FALSE(v.buttonUp(b.x - 5, y).submitted);
    v.buttonDown(b.x - 5, y);
    EXPECT_FALSE(v.buttonUp(x, y).submitted);
    v.buttonDown(x, y);
    EXPECT_TRUE(v.buttonUp(x, y).submitted);
}

} // namespace
} // namespace orv
