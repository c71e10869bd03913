// The input dialog drawn inside the game window: caption bar, prompt, a one-line edit field and
// the 決定 button, laid out from the dialog resource IDD_DIALOG (its dialog units are 1.5 game
// pixels at the resource's 9-point font), or with the sizes the scenario gives in points. Free of
// any window system like DialogView: a backend feeds it the pointer in game units, the keys, the
// typed text and the input method's composition, and paints it over the picture.
#pragma once

#include "platform/MenuView.h"
#include "platform/Platform.h"
#include "platform/fonts/UiText.h"

#include <optional>
#include <string>
#include <string_view>

namespace orv {

enum class FieldKey { Enter, Backspace, Delete, Left, Right, Home, End };

// Game pixels for a length in points (96 / 72, rounded as a multiply-divide rounds).
int pointsToPixels(int points);

class InputDialogView {
public:
    InputDialogView(std::string caption, std::string prompt,
                    const std::optional<InputDialogSize>& size);

    MenuBox box() const { return box_; }
    MenuBox promptBox() const { return prompt_; }
    MenuBox fieldBox() const { return field_; }
    MenuBox buttonBox() const { return button_; }

    // The field's text (UTF-8), the caret's byte offset in it, and the input method's
    // composition in progress (shown at the caret, not yet part of the text).
    const std::string& text() const { return text_; }
    size_t caret() const { return caret_; }
    const std::string& composition() const { return composition_; }

    struct Result {
        bool changed = false;   // paint again
        bool submitted = false; // 決定 was pressed: the text is to be judged
    };

    // Finished text at the caret (control characters dropped); it ends any composition.
    Result type(std::string_view utf8);
    // The composition as the input method shows it now; empty when it is given up.
    Result compose(std::string_view utf8);
    // A key for the field. While something is being composed the keys are the input method's.
    Result key(FieldKey key);
    // The left button in game units: 決定 needs the press and the release on it.
    Result pointerMove(int x, int y);
    Result buttonDown(int x, int y);
    Result buttonUp(int x, int y);

    // Paints the whole dialog (its box's size times scale); text must be an em of
    // kMenuTextPixels * scale.
    void paint(RgbCanvas& canvas, UiText& text, int scale) const;

private:
    bool onButton(int x, int y) const;
    void paintField(RgbCanvas& canvas, UiText& text, int s) const;

    std::string caption_;
    std::string promptText_;
    MenuBox box_;
    MenuBox prompt_;
    MenuBox field_;
    MenuBox button_;
    std::string text_;
    size_t caret_ = 0;
    std::string composition_;
    bool pressed_ = false;
    bool pressedInside_ = false;
};

} // namespace orv
