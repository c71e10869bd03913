// A modal dialog drawn inside the game window: a caption bar, the text (line breaks kept, long
// lines wrapped), and a row of buttons worked by the mouse and the keyboard. Free of any window
// system, like MenuView: the backend feeds it the pointer in game units and the keys, paints it
// over the picture and waits until it answers. The input dialogs put their text field between
// the text and the buttons.
//
// Game units: the dialog lies over the 640x480 picture, centred. Painting takes a whole scale
// factor so that the text stays sharp on a scaled window.
#pragma once

#include "platform/MenuView.h"
#include "platform/fonts/UiText.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

inline constexpr int kDialogTitleHeight = 18;
inline constexpr int kDialogLineHeight = 16;
inline constexpr int kDialogPadding = 12;
inline constexpr int kDialogButtonHeight = 22;
inline constexpr int kDialogButtonMinWidth = 72;
inline constexpr int kDialogButtonGap = 8;
inline constexpr int kDialogMinWidth = 200;
inline constexpr int kDialogMaxTextWidth = 560;

enum class DialogKey { Enter, Escape, Space, Left, Right, Tab, BackTab };

struct DialogButton {
    std::string label; // UTF-8
    int answer = 0;    // what choosing it returns
};

class DialogView {
public:
    // Width in pixels of a UTF-8 text at scale 1.
    using TextMeasure = std::function<int(std::string_view)>;

    // The first button has the focus; Escape answers cancelAnswer.
    DialogView(TextMeasure measure, std::string caption, std::string_view text,
               std::vector<DialogButton> buttons, int cancelAnswer);

    MenuBox box() const { return box_; }
    MenuBox titleBox() const { return {box_.x, box_.y, box_.w, kDialogTitleHeight + kMenuBorder}; }
    // The text as shown, one entry per line, and where the first line starts.
    const std::vector<std::string>& lines() const { return lines_; }
    int textLeft() const { return box_.x + kDialogPadding; }
    int textTop() const { return box_.y + kMenuBorder + kDialogTitleHeight + kDialogPadding; }
    const std::vector<MenuBox>& buttonBoxes() const { return buttonBoxes_; }
    int focus() const { return focus_; }
    // The button the pointer holds down while over it, -1 when none.
    int pressed() const { return pressed_ >= 0 && pressedInside_ ? pressed_ : -1; }

    struct Result {
        bool changed = false;      // paint again
        std::optional<int> answer; // the dialog is done
    };

    // The left button in game units. A choice needs both the press and the release on the
    // same button, so a click begun before the dialog came cannot answer it.
    Result pointerMove(int x, int y);
    Result buttonDown(int x, int y);
    Result buttonUp(int x, int y);
    Result key(DialogKey key);
    int cancelAnswer() const { return cancelAnswer_; }

    // Paints the whole dialog (its box's size times scale); text must be an em of
    // kMenuTextPixels * scale.
    void paint(RgbCanvas& canvas, UiText& text, int scale) const;

private:
    void wrap(std::string_view text, int width);
    int buttonAt(int x, int y) const;

    TextMeasure measure_;
    std::string caption_;
    std::vector<std::string> lines_;
    std::vector<DialogButton> buttons_;
    int cancelAnswer_;
    MenuBox box_;
    std::vector<MenuBox> buttonBoxes_;
    int focus_ = 0;
    int pressed_ = -1;
    bool pressedInside_ = false;
};

} // namespace orv
