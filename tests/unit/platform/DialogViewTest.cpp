#include "platform/DialogView.h"

#include "platform/Platform.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

// Every character is 10 pixels wide, whatever its bytes.
int measure(std::string_view s) {
    int n = 0;
    for (unsigned char c : s) n += (c & 0xC0) != 0x80;
    return n * 10;
}

DialogView yesNo(std::string_view text = "quit?") {
    return DialogView(measure, "Caption", text, {{"Yes", 1}, {"No", 2}}, 2);
}

int centreX(const MenuBox& b) {
    return b.x + b.w / 2;
}
int centreY(const MenuBox& b) {
    return b.y + b.h / 2;
}

TEST(DialogViewLayout, KeepsLineBreaksWrapsLongLinesAndCentresTheBox) {
    // Two paragraphs (one after CR LF), an empty line, and one of 70 two-byte characters: 700
    // pixels wrap at the widest line the dialog shows.
    std::string longLine;
    for (int i = 0; i < 70; ++i) longLine += "\xE3\x81\x82";
    const DialogView d = yesNo("one\r\ntwo\n\n" + longLine);
    const size_t perLine = kDialogMaxTextWidth / 10;
    EXPECT_EQ(d.lines(),
              (std::vector<std::string>{"one", "two", "", longLine.substr(0, perLine * 3),
                                        longLine.substr(perLine * 3)}));

    const MenuBox box = d.box();
    EXPECT_EQ(std::pair(box.x, box.y),
              std::pair((kScreenWidth - box.w) / 2, (kScreenHeight - box.h) / 2));
    EXPECT_TRUE(box.w >= kDialogMaxTextWidth && box.w <= kScreenWidth) << box.w;
    // The buttons sit side by side inside the box, below the text.
    const auto& buttons = d.buttonBoxes();
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_LT(buttons[0].x + buttons[0].w, buttons[1].x);
    EXPECT_GT(buttons[0].y, d.textTop() + 5 * kDialogLineHeight - 1);
    EXPECT_LE(buttons[1].y + buttons[1].h, box.y + box.h);
}

TEST(DialogViewLayout, TextTallerThanTheScreenIsCut) {
    std::string many;
    for (int i = 0; i < 100; ++i) many += "line\n";
    const DialogView d = yesNo(many);
    EXPECT_TRUE(d.box().h <= kScreenHeight && d.box().y >= 0);
    EXPECT_EQ(d.lines().back(), "\xE2\x80\xA6");
}

TEST(DialogViewInput, KeysChooseTheFocusedButtonOrCancel) {
    struct Case {
        std::vector<DialogKey> keys;
        int answer;
    };
    const Case cases[] = {
        {{DialogKey::Enter}, 1},
        {{DialogKey::Space}, 1},
        {{DialogKey::Escape}, 2},
        {{DialogKey::Right, DialogKey::Enter}, 2},
        {{DialogKey::Tab, DialogKey::Tab, DialogKey::Enter}, 1},
        {{DialogKey::Left, DialogKey::Enter}, 2},
        {{DialogKey::Right, DialogKey::BackTab, DialogKey::Space}, 1},
        {{DialogKey::Right, DialogKey::Escape}, 2},
    };
    for (const Case& c : cases) {
        DialogView d = yesNo();
        std::optional<int> answer;
        for (DialogKey k : c.keys) {
            ASSERT_FALSE(answer) << "answered before the last key";
            answer = d.key(k).answer;
        }
        EXPECT_EQ(answer, c.answer) << "after " << c.keys.size() << " keys";
    }
}

TEST(DialogViewInput, AClickNeedsPressAndReleaseOnTheSameButton) {
    DialogView d = yesNo();
    const MenuBox yes = d.buttonBoxes()[0], no = d.buttonBoxes()[1];
    // A release without a press in the dialog (a click begun before it came) does nothing.
    EXPECT_FALSE(d.buttonUp(centreX(yes), centreY(yes)).answer);
    // Pressed on No, released on Yes: nothing chosen, but the focus moved to No.
    EXPECT_FALSE(d.buttonDown(centreX(no), centreY(no)).answer);
    EXPECT_EQ(d.pressed(), 1);
    EXPECT_TRUE(d.pointerMove(centreX(yes), centreY(yes)).changed);
    EXPECT_FALSE(d.buttonUp(centreX(yes), centreY(yes)).answer);
    EXPECT_EQ(std::pair(d.pressed(), d.focus()), std::pair(-1, 1));
    // Outside every button a press does nothing.
    EXPECT_FALSE(d.buttonDown(d.box().x + 1, d.box().y + 1).changed);
    d.buttonDown(centreX(yes), centreY(yes));
    EXPECT_EQ(d.buttonUp(centreX(yes), centreY(yes)).answer, 1);
}

} // namespace
} // namespace orv
