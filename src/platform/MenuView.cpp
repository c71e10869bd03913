#include "platform/MenuView.h"

#include "platform/Platform.h"
#include "platform/UiPalette.h"

#include <algorithm>

namespace orv {

namespace {

using ui::bevel;
using ui::kDark;
using ui::kFace;
using ui::kHotFace;
using ui::kHotText;
using ui::kLight;
using ui::kShadow;
using ui::kText;

// A tick drawn with squares of side s: down-right from (x, y + 2) for two steps, then up-right
// for four, in a 7x5 box at scale 1.
void checkMark(RgbCanvas& c, int x, int y, int s, Rgb8 colour) {
    static constexpr int kDown[][2] = {{0, 2}, {1, 3}, {2, 4}, {3, 3}, {4, 2}, {5, 1}, {6, 0}};
    for (const auto& p : kDown) {
        // Two squares high, so the tick reads as a stroke rather than a dotted line.
        c.fill(x + p[0] * s, y + p[1] * s, s, 2 * s, colour);
    }
}

} // namespace

MenuView::MenuView(TextMeasure measure) : measure_(std::move(measure)) {}

void MenuView::setMenu(const MenuBar& menu) {
    menu_ = menu;
    const int wasOpen = open_;
    const int wasHot = hotItem_;
    close();
    hotEntry_ = -1;
    pressedPlain_ = -1;
    layout();
    if (wasOpen >= 0 && size_t(wasOpen) < menu_.entries().size() &&
        menu_.entries()[size_t(wasOpen)].popup && shown_) {
        open(wasOpen);
        if (wasHot >= 0 && size_t(wasHot) < itemBoxes_.size()) hotItem_ = wasHot;
    }
}

void MenuView::setShown(bool shown) {
    if (shown == shown_) return;
    shown_ = shown;
    if (!shown) {
        close();
        hotEntry_ = -1;
        pressedPlain_ = -1;
        swallowUp_ = false;
    }
}

void MenuView::layout() {
    entryBoxes_.clear();
    int x = 0;
    for (const MenuEntry& entry : menu_.entries()) {
        const int w = measure_(entry.item.label) + 2 * kMenuEntryPadding;
        // Windows wraps a full bar onto a second row; this bar has one row and leaves what does
        // not fit out.
        if (x + w > kScreenWidth) {
            entryBoxes_.push_back({x, 0, 0, 0});
            x = kScreenWidth;
            continue;
        }
        entryBoxes_.push_back({x, 0, w, kMenuBarRows});
        x += w;
    }
}

void MenuView::open(int entry) {
    open_ = entry;
    hotEntry_ = entry;
    hotItem_ = -1;
    itemBoxes_.clear();
    const MenuEntry& e = menu_.entries()[size_t(entry)];
    int labelWidth = 0;
    int height = 2 * kMenuBorder;
    for (const MenuItem& item : e.items) {
        if (!item.separator) labelWidth = std::max(labelWidth, measure_(item.label));
        height += item.separator ? kMenuSeparatorHeight : kMenuItemHeight;
    }
    const int width =
        std::min(kScreenWidth, 2 * kMenuBorder + kMenuCheckColumn + labelWidth + kMenuItemRightPad);
    const int x = std::clamp(entryBoxes_[size_t(entry)].x, 0, kScreenWidth - width);
    popupBox_ = {x, kMenuBarRows, width, height};
    int y = kMenuBarRows + kMenuBorder;
    for (const MenuItem& item : e.items) {
        const int h = item.separator ? kMenuSeparatorHeight : kMenuItemHeight;
        itemBoxes_.push_back({x + kMenuBorder, y, width - 2 * kMenuBorder, h});
        y += h;
    }
}

bool MenuView::close() {
    if (open_ < 0) return false;
    open_ = -1;
    hotItem_ = -1;
    popupBox_ = {};
    itemBoxes_.clear();
    return true;
}

bool MenuView::inBar(int x, int y, bool outside) const {
    return !outside && x >= 0 && x < kScreenWidth && y >= 0 && y < kMenuBarRows;
}

int MenuView::entryAt(int x, int y, bool outside) const {
    if (!inBar(x, y, outside)) return -1;
    for (size_t i = 0; i < entryBoxes_.size(); ++i)
        if (entryBoxes_[i].contains(x, y)) return int(i);
    return -1;
}

int MenuView::itemAt(int x, int y, bool outside) const {
    if (outside || open_ < 0) return -1;
    for (size_t i = 0; i < itemBoxes_.size(); ++i)
        if (itemBoxes_[i].contains(x, y)) return int(i);
    return -1;
}

MenuView::Result MenuView::pointerMove(int x, int y, bool outside) {
    Result r;
    if (!shown_) return r;
    const int oldHotEntry = hotEntry_, oldHotItem = hotItem_, oldOpen = open_;
    const int entry = entryAt(x, y, outside);
    if (open_ >= 0) {
        r.consumed = true;
        // Sliding along the bar with a popup open opens the popup under the pointer.
        if (entry >= 0 && entry != open_) {
            if (menu_.entries()[size_t(entry)].popup)
                open(entry);
            else
                hotEntry_ = entry;
        }
        const int item = itemAt(x, y, outside);
        const MenuEntry& e = menu_.entries()[size_t(open_)];
        hotItem_ = item >= 0 && !e.items[size_t(item)].separator ? item : -1;
    } else {
        r.consumed = inBar(x, y, outside);
        hotEntry_ = entry;
    }
    r.changed = hotEntry_ != oldHotEntry || hotItem_ != oldHotItem || open_ != oldOpen;
    return r;
}

MenuView::Result MenuView::buttonDown(int x, int y, bool outside) {
    Result r;
    if (!shown_) return r;
    const int entry = entryAt(x, y, outside);
    pressedPlain_ = -1;
    if (entry >= 0) {
        r.consumed = r.changed = true;
        if (menu_.entries()[size_t(entry)].popup) {
            if (entry == open_)
                close(); // a second press on the open entry folds it away
            else
                open(entry);
        } else {
            close();
            pressedPlain_ = entry;
            hotEntry_ = entry;
        }
        return r;
    }
    if (inBar(x, y, outside)) {
        r.consumed = true;
        r.changed = close();
        return r;
    }
    if (open_ >= 0) {
        r.consumed = true;
        if (!popupBox_.contains(x, y) || outside) {
            // A press anywhere else only closes the popup; the game sees neither it nor its
            // release.
            close();
            hotEntry_ = -1;
            swallowUp_ = true;
            r.changed = true;
        }
    }
    return r;
}

MenuView::Result MenuView::buttonUp(int x, int y, bool outside) {
    Result r;
    if (swallowUp_) {
        swallowUp_ = false;
        r.consumed = true;
        return r;
    }
    if (!shown_) return r;
    const int entry = entryAt(x, y, outside);
    if (pressedPlain_ >= 0) {
        const int pressed = pressedPlain_;
        pressedPlain_ = -1;
        r.consumed = true;
        if (entry == pressed) r.command = menu_.entries()[size_t(pressed)].item.id;
        return r;
    }
    if (open_ >= 0) {
        r.consumed = true;
        const int item = itemAt(x, y, outside);
        const MenuEntry& e = menu_.entries()[size_t(open_)];
        if (item >= 0 && !e.items[size_t(item)].separator) {
            r.command = e.items[size_t(item)].id;
            close();
            hotEntry_ = entry;
            r.changed = true;
        }
        return r;
    }
    r.consumed = inBar(x, y, outside);
    return r;
}

MenuView::Result MenuView::key(int code) {
    Result r;
    if (!shown_ || open_ < 0) return r;
    r.consumed = true;
    if (code == 27) {
        close();
        r.changed = true;
    }
    return r;
}

void MenuView::paintBar(RgbCanvas& canvas, UiText& text, int scale) const {
    const int s = std::max(scale, 1);
    canvas.fill(0, 0, canvas.width, canvas.height, kFace);
    if (!shown_) return;
    const int textTop = (kMenuBarRows * s - text.lineHeight()) / 2;
    for (size_t i = 0; i < entryBoxes_.size(); ++i) {
        const MenuBox& b = entryBoxes_[i];
        if (b.w <= 0) continue;
        if (int(i) == open_)
            bevel(canvas, b.x * s, b.y * s, b.w * s, b.h * s, s, kShadow, kLight);
        else if (int(i) == hotEntry_)
            bevel(canvas, b.x * s, b.y * s, b.w * s, b.h * s, s, kLight, kShadow);
        const int shift = int(i) == open_ ? s : 0; // a pressed entry's label sinks a pixel
        text.draw(canvas, (b.x + kMenuEntryPadding) * s + shift, textTop + shift,
                  menu_.entries()[i].item.label, kText);
    }
}

void MenuView::paintPopup(RgbCanvas& canvas, UiText& text, int scale) const {
    if (open_ < 0) return;
    const int s = std::max(scale, 1);
    const MenuBox& box = popupBox_;
    canvas.fill(0, 0, canvas.width, canvas.height, kFace);
    bevel(canvas, 0, 0, box.w * s, box.h * s, s, kFace, kDark);
    bevel(canvas, s, s, (box.w - 2) * s, (box.h - 2) * s, s, kLight, kShadow);
    const MenuEntry& e = menu_.entries()[size_t(open_)];
    for (size_t i = 0; i < itemBoxes_.size(); ++i) {
        const MenuItem& item = e.items[i];
        const MenuBox& b = itemBoxes_[i];
        const int x = (b.x - box.x) * s;
        const int y = (b.y - box.y) * s;
        if (item.separator) {
            const int mid = y + (kMenuSeparatorHeight / 2 - 1) * s;
            canvas.fill(x + s, mid, (b.w - 2) * s, s, kShadow);
            canvas.fill(x + s, mid + s, (b.w - 2) * s, s, kLight);
            continue;
        }
        const bool hot = int(i) == hotItem_;
        if (hot) canvas.fill(x, y, b.w * s, b.h * s, kHotFace);
        const Rgb8 ink = hot ? kHotText : kText;
        if (item.checked) checkMark(canvas, x + 6 * s, y + 6 * s, s, ink);
        text.draw(canvas, x + kMenuCheckColumn * s, y + (b.h * s - text.lineHeight()) / 2,
                  item.label, ink);
    }
}

} // namespace orv
