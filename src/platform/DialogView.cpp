#include "platform/DialogView.h"

#include "platform/Platform.h"
#include "platform/UiPalette.h"

#include <algorithm>

namespace orv {

namespace {

constexpr int kButtonLabelPad = 8; // each side of a button's label

// Length in bytes of the UTF-8 character that starts s (1 for a stray byte).
size_t characterLength(std::string_view s) {
    size_t n = 1;
    while (n < s.size() && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) ++n;
    return n;
}

} // namespace

DialogView::DialogView(TextMeasure measure, std::string caption, std::string_view text,
                       std::vector<DialogButton> buttons, int cancelAnswer)
    : measure_(std::move(measure)), caption_(std::move(caption)), buttons_(std::move(buttons)),
      cancelAnswer_(cancelAnswer) {
    wrap(text, kDialogMaxTextWidth);

    std::vector<int> buttonWidths;
    int buttonsWidth = 0;
    for (const DialogButton& b : buttons_) {
        buttonWidths.push_back(
            std::max(kDialogButtonMinWidth, measure_(b.label) + 2 * kButtonLabelPad));
        buttonsWidth += buttonWidths.back();
    }
    if (!buttons_.empty()) buttonsWidth += kDialogButtonGap * int(buttons_.size() - 1);

    // What does not fit on the screen is cut, the last line shown marking the cut.
    const int chrome =
        2 * kMenuBorder + kDialogTitleHeight + 3 * kDialogPadding + kDialogButtonHeight;
    const size_t maxLines = size_t((kScreenHeight - chrome) / kDialogLineHeight);
    if (lines_.size() > maxLines) {
        lines_.resize(maxLines);
        lines_.back() = "\xE2\x80\xA6"; // …
    }
    int textWidth = measure_(caption_);
    for (const std::string& line : lines_) textWidth = std::max(textWidth, measure_(line));
    textWidth = std::max(textWidth, buttonsWidth);

    box_.w =
        std::clamp(textWidth + 2 * (kDialogPadding + kMenuBorder), kDialogMinWidth, kScreenWidth);
    box_.h = chrome + int(lines_.size()) * kDialogLineHeight;
    box_.x = (kScreenWidth - box_.w) / 2;
    box_.y = (kScreenHeight - box_.h) / 2;

    int x = box_.x + (box_.w - buttonsWidth) / 2;
    const int y = box_.y + box_.h - kMenuBorder - kDialogPadding - kDialogButtonHeight;
    for (int w : buttonWidths) {
        buttonBoxes_.push_back({x, y, w, kDialogButtonHeight});
        x += w + kDialogButtonGap;
    }
}

void DialogView::wrap(std::string_view text, int width) {
    for (;;) {
        const size_t end = std::min(text.find('\n'), text.size());
        std::string_view paragraph = text.substr(0, end);
        if (paragraph.ends_with('\r')) paragraph.remove_suffix(1);
        std::string line;
        int lineWidth = 0;
        while (!paragraph.empty()) {
            const size_t n = characterLength(paragraph);
            const std::string_view ch = paragraph.substr(0, n);
            const int w = measure_(ch);
            if (!line.empty() && lineWidth + w > width) {
                lines_.push_back(std::move(line));
                line.clear();
                lineWidth = 0;
            }
            line += ch;
            lineWidth += w;
            paragraph.remove_prefix(n);
        }
        lines_.push_back(std::move(line));
        if (end == text.size()) break;
        text.remove_prefix(end + 1);
    }
}

int DialogView::buttonAt(int x, int y) const {
    for (size_t i = 0; i < buttonBoxes_.size(); ++i)
        if (buttonBoxes_[i].contains(x, y)) return int(i);
    return -1;
}

DialogView::Result DialogView::pointerMove(int x, int y) {
    Result r;
    if (pressed_ < 0) return r;
    const bool inside = buttonAt(x, y) == pressed_;
    r.changed = inside != pressedInside_;
    pressedInside_ = inside;
    return r;
}

DialogView::Result DialogView::buttonDown(int x, int y) {
    Result r;
    const int hit = buttonAt(x, y);
    if (hit < 0) return r;
    pressed_ = hit;
    pressedInside_ = true;
    focus_ = hit;
    r.changed = true;
    return r;
}

DialogView::Result DialogView::buttonUp(int x, int y) {
    Result r;
    if (pressed_ < 0) return r;
    const int was = pressed_;
    pressed_ = -1;
    pressedInside_ = false;
    r.changed = true;
    if (buttonAt(x, y) == was) r.answer = buttons_[size_t(was)].answer;
    return r;
}

DialogView::Result DialogView::key(DialogKey key) {
    Result r;
    const int n = int(buttons_.size());
    switch (key) {
    case DialogKey::Enter:
    case DialogKey::Space:
        if (n > 0) r.answer = buttons_[size_t(focus_)].answer;
        break;
    case DialogKey::Escape:
        r.answer = cancelAnswer_;
        break;
    case DialogKey::Right:
    case DialogKey::Tab:
    case DialogKey::Left:
    case DialogKey::BackTab:
        if (n > 1) {
            const int step = key == DialogKey::Right || key == DialogKey::Tab ? 1 : n - 1;
            focus_ = (focus_ + step) % n;
            r.changed = true;
        }
        break;
    }
    return r;
}

void DialogView::paint(RgbCanvas& canvas, UiText& text, int scale) const {
    using namespace ui;
    const int s = std::max(scale, 1);
    const int b = kMenuBorder * s;
    canvas.fill(0, 0, canvas.width, canvas.height, kFace);
    bevel(canvas, 0, 0, box_.w * s, box_.h * s, s, kFace, kDark);
    bevel(canvas, s, s, (box_.w - 2) * s, (box_.h - 2) * s, s, kLight, kShadow);

    const int titleH = kDialogTitleHeight * s;
    canvas.fill(b, b, box_.w * s - 2 * b, titleH, kHotFace);
    text.draw(canvas, b + 4 * s, b + (titleH - text.lineHeight()) / 2, caption_, kHotText);

    const int lineH = kDialogLineHeight * s;
    int y = (textTop() - box_.y) * s + (lineH - text.lineHeight()) / 2;
    for (const std::string& line : lines_) {
        text.draw(canvas, (textLeft() - box_.x) * s, y, line, kText);
        y += lineH;
    }

    for (size_t i = 0; i < buttonBoxes_.size(); ++i) {
        const MenuBox& bb = buttonBoxes_[i];
        const int x0 = (bb.x - box_.x) * s, y0 = (bb.y - box_.y) * s;
        const int w = bb.w * s, h = bb.h * s;
        const bool down = int(i) == pressed();
        int inset = 0;
        if (int(i) == focus_) {
            // The button Enter chooses wears a black frame.
            bevel(canvas, x0, y0, w, h, s, kText, kText);
            inset = s;
        }
        if (down) {
            bevel(canvas, x0 + inset, y0 + inset, w - 2 * inset, h - 2 * inset, s, kShadow,
                  kShadow);
        } else {
            bevel(canvas, x0 + inset, y0 + inset, w - 2 * inset, h - 2 * inset, s, kLight, kDark);
            bevel(canvas, x0 + inset + s, y0 + inset + s, w - 2 * inset - 2 * s,
                  h - 2 * inset - 2 * s, s, kFace, kShadow);
        }
        const int shift = down ? s : 0;
        const int labelW = text.measure(buttons_[i].label);
        text.draw(canvas, x0 + (w - labelW) / 2 + shift, y0 + (h - text.lineHeight()) / 2 + shift,
                  buttons_[i].label, kText);
    }
}

} // namespace orv
