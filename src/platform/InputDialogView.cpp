#include "platform/InputDialogView.h"

#include "platform/DialogView.h"
#include "platform/UiPalette.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace orv {

namespace {

// The resource's rectangles in game pixels, from the top-left of the area below the caption bar.
constexpr MenuBox kPromptAt{11, 11, 320, 20};
constexpr MenuBox kFieldAt{11, 39, 230, 26};
constexpr MenuBox kButtonAt{270, 38, 60, 30};
constexpr int kClientWidth = 341;
constexpr int kClientHeight = 80;
// The most a field takes, an edit field's usual limit.
constexpr size_t kFieldLimit = 32767;

constexpr const char* kDecide = "\xE6\xB1\xBA\xE5\xAE\x9A"; // 決定

bool isContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

size_t nextCharacter(const std::string& s, size_t pos) {
    if (pos >= s.size()) return s.size();
    ++pos;
    while (pos < s.size() && isContinuation(s[pos])) ++pos;
    return pos;
}

size_t previousCharacter(const std::string& s, size_t pos) {
    if (pos == 0) return 0;
    --pos;
    while (pos > 0 && isContinuation(s[pos])) --pos;
    return pos;
}

size_t characterCount(std::string_view s) {
    return size_t(std::count_if(s.begin(), s.end(), [](char c) { return !isContinuation(c); }));
}

MenuBox offset(MenuBox b, int dx, int dy) {
    return {b.x + dx, b.y + dy, b.w, b.h};
}

} // namespace

int pointsToPixels(int points) {
    return int(std::lround(double(points) * 96.0 / 72.0));
}

InputDialogView::InputDialogView(std::string caption, std::string prompt,
                                 const std::optional<InputDialogSize>& size)
    : caption_(std::move(caption)), promptText_(std::move(prompt)) {
    const int chrome = 2 * kMenuBorder + kDialogTitleHeight;
    box_ = {0, 0, kClientWidth + 2 * kMenuBorder, kClientHeight + chrome};
    box_.x = (kScreenWidth - box_.w) / 2;
    box_.y = (kScreenHeight - box_.h) / 2;
    MenuBox field = kFieldAt, button = kButtonAt;
    if (size) {
        // The corner stays where it was, unless the new size would leave the window there.
        box_.w = std::clamp(pointsToPixels(size->dialogWidth), 2 * kMenuBorder + 1, kScreenWidth);
        box_.h = std::clamp(pointsToPixels(size->dialogHeight), chrome + 1, kScreenHeight);
        box_.x = std::min(box_.x, kScreenWidth - box_.w);
        box_.y = std::min(box_.y, kScreenHeight - box_.h);
        field.w = std::clamp(pointsToPixels(size->fieldWidth), 0, kScreenWidth);
        field.h = std::clamp(pointsToPixels(size->fieldHeight), 0, kScreenHeight);
        const int margin = pointsToPixels(20);
        button = {box_.w - kButtonAt.w - margin - 1, field.y, kButtonAt.w + 1, field.h};
    }
    const int top = box_.y + kMenuBorder + kDialogTitleHeight;
    prompt_ = offset(kPromptAt, box_.x, top);
    field_ = offset(field, box_.x, top);
    button_ = offset(button, box_.x, top);
}

InputDialogView::Result InputDialogView::type(std::string_view utf8) {
    Result r;
    r.changed = !composition_.empty();
    composition_.clear();
    std::string clean;
    for (char c : utf8)
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) clean += c;
    size_t room = kFieldLimit - std::min(kFieldLimit, characterCount(text_));
    size_t end = 0;
    while (end < clean.size() && room > 0) {
        end = nextCharacter(clean, end);
        --room;
    }
    if (end == 0) return r;
    text_.insert(caret_, clean, 0, end);
    caret_ += end;
    r.changed = true;
    return r;
}

InputDialogView::Result InputDialogView::compose(std::string_view utf8) {
    Result r;
    r.changed = composition_ != utf8;
    composition_ = std::string(utf8);
    return r;
}

InputDialogView::Result InputDialogView::key(FieldKey key) {
    Result r;
    if (!composition_.empty()) return r;
    const size_t before = caret_;
    const size_t length = text_.size();
    switch (key) {
    case FieldKey::Enter:
        r.submitted = true;
        return r;
    case FieldKey::Backspace:
        caret_ = previousCharacter(text_, caret_);
        text_.erase(caret_, before - caret_);
        break;
    case FieldKey::Delete:
        text_.erase(caret_, nextCharacter(text_, caret_) - caret_);
        break;
    case FieldKey::Left:
        caret_ = previousCharacter(text_, caret_);
        break;
    case FieldKey::Right:
        caret_ = nextCharacter(text_, caret_);
        break;
    case FieldKey::Home:
        caret_ = 0;
        break;
    case FieldKey::End:
        caret_ = text_.size();
        break;
    }
    r.changed = caret_ != before || text_.size() != length;
    return r;
}

bool InputDialogView::onButton(int x, int y) const {
    return button_.contains(x, y) && box_.contains(x, y);
}

InputDialogView::Result InputDialogView::pointerMove(int x, int y) {
    Result r;
    if (!pressed_) return r;
    const bool inside = onButton(x, y);
    r.changed = inside != pressedInside_;
    pressedInside_ = inside;
    return r;
}

InputDialogView::Result InputDialogView::buttonDown(int x, int y) {
    Result r;
    if (!onButton(x, y)) return r;
    pressed_ = pressedInside_ = true;
    r.changed = true;
    return r;
}

InputDialogView::Result InputDialogView::buttonUp(int x, int y) {
    Result r;
    if (!pressed_) return r;
    pressed_ = pressedInside_ = false;
    r.changed = true;
    r.submitted = onButton(x, y);
    return r;
}

void InputDialogView::paint(RgbCanvas& canvas, UiText& text, int scale) const {
    using namespace ui;
    const int s = std::max(scale, 1);
    const int b = kMenuBorder * s;
    canvas.fill(0, 0, canvas.width, canvas.height, kFace);
    bevel(canvas, 0, 0, box_.w * s, box_.h * s, s, kFace, kDark);
    bevel(canvas, s, s, (box_.w - 2) * s, (box_.h - 2) * s, s, kLight, kShadow);
    const int titleH = kDialogTitleHeight * s;
    canvas.fill(b, b, box_.w * s - 2 * b, titleH, kHotFace);
    text.draw(canvas, b + 4 * s, b + (titleH - text.lineHeight()) / 2, caption_, kHotText);

    // The prompt wraps at its box's width and shows the lines its box holds (the first always).
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < promptText_.size();) {
        const size_t next = nextCharacter(promptText_, i);
        const std::string ch = promptText_.substr(i, next - i);
        if (ch == "\n") {
            lines.emplace_back();
        } else {
            if (!lines.back().empty() && text.measure(lines.back() + ch) > prompt_.w * s)
                lines.emplace_back();
            lines.back() += ch;
        }
        i = next;
    }
    const int top = (prompt_.y - box_.y) * s;
    for (size_t i = 0; i < lines.size(); ++i) {
        const int y = top + int(i) * text.lineHeight();
        if (i > 0 && y + text.lineHeight() > top + prompt_.h * s) break;
        text.draw(canvas, (prompt_.x - box_.x) * s, y, lines[i], kText);
    }

    paintField(canvas, text, s);

    // 決定 is the default button: it always wears the black frame.
    const int bx = (button_.x - box_.x) * s, by = (button_.y - box_.y) * s;
    const int bw = button_.w * s, bh = button_.h * s;
    const bool down = pressed_ && pressedInside_;
    bevel(canvas, bx, by, bw, bh, s, kText, kText);
    if (down) {
        bevel(canvas, bx + s, by + s, bw - 2 * s, bh - 2 * s, s, kShadow, kShadow);
    } else {
        bevel(canvas, bx + s, by + s, bw - 2 * s, bh - 2 * s, s, kLight, kDark);
        bevel(canvas, bx + 2 * s, by + 2 * s, bw - 4 * s, bh - 4 * s, s, kFace, kShadow);
    }
    const int shift = down ? s : 0;
    text.draw(canvas, bx + (bw - text.measure(kDecide)) / 2 + shift,
              by + (bh - text.lineHeight()) / 2 + shift, kDecide, kText);
}

void InputDialogView::paintField(RgbCanvas& canvas, UiText& text, int s) const {
    using namespace ui;
    const int fx = (field_.x - box_.x) * s, fy = (field_.y - box_.y) * s;
    const int fw = field_.w * s, fh = field_.h * s;
    if (fw <= 0 || fh <= 0) return;
    bevel(canvas, fx, fy, fw, fh, s, kShadow, kLight);
    bevel(canvas, fx + s, fy + s, fw - 2 * s, fh - 2 * s, s, kDark, kFace);
    // The inside is drawn apart, so that a long text scrolls under the frame rather than over it.
    RgbCanvas inside(std::max(fw - 4 * s, 0), std::max(fh - 4 * s, 0));
    if (inside.width == 0 || inside.height == 0) return;
    inside.fill(0, 0, inside.width, inside.height, kLight);
    const std::string before = text_.substr(0, caret_);
    const int pad = 2 * s;
    const int caretX = text.measure(before) + text.measure(composition_);
    // Scrolled just far enough to show the caret.
    const int scroll = std::max(0, caretX + pad + s - inside.width);
    const int ty = (inside.height - text.lineHeight()) / 2;
    int x = pad - scroll;
    text.draw(inside, x, ty, before, kText);
    x += text.measure(before);
    if (!composition_.empty()) {
        const int w = text.measure(composition_);
        text.draw(inside, x, ty, composition_, kText);
        inside.fill(x, ty + text.lineHeight() - s, w, s, kText);
        x += w;
    }
    text.draw(inside, x, ty, text_.substr(caret_), kText);
    inside.fill(pad + caretX - scroll, ty, s, text.lineHeight(), kText);
    for (int y = 0; y < inside.height; ++y)
        for (int cx = 0; cx < inside.width; ++cx)
            canvas.set(fx + 2 * s + cx, fy + 2 * s + y, inside.at(cx, y));
}

} // namespace orv
