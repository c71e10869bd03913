// The menu bar on the screen: where its entries and popups are, how the pointer works them, and
// how they are painted. Free of any window system so that the behaviour can be checked on its
// own; a backend maps its pointer into menu units, feeds it here, delivers what is not consumed
// to the game and posts the commands that come back.
//
// Menu units: the bar is kMenuBarHeight rows high and kScreenWidth columns wide with its top-left
// at (0, 0); a popup drops down below the bar, over the picture, and is clamped to the bar's
// width. Painting takes a whole scale factor so that the backend can draw sharp text on a scaled
// window.
//
// Popups are not modal: the game goes on running underneath an open popup, but it does not see
// the pointer or the keyboard until the popup closes.
#pragma once

#include "platform/MenuBar.h"
#include "platform/fonts/UiText.h"

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace orv {

inline constexpr int kMenuBarRows = 20;     // same as the strip: kMenuBarHeight
inline constexpr int kMenuTextPixels = 12;  // em of the labels at scale 1
inline constexpr int kMenuEntryPadding = 6; // left and right of a bar label
inline constexpr int kMenuItemHeight = 18;  // a popup item
inline constexpr int kMenuSeparatorHeight = 8;
inline constexpr int kMenuCheckColumn = 18; // left of a popup label, holds the check mark
inline constexpr int kMenuItemRightPad = 18;
inline constexpr int kMenuBorder = 2;

struct MenuBox {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    bool contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
    bool operator==(const MenuBox&) const = default;
};

class MenuView {
public:
    // Width in pixels of a label at scale 1.
    using TextMeasure = std::function<int(std::string_view)>;

    explicit MenuView(TextMeasure measure);

    // Replaces what the bar shows. An open popup stays open while its entry still is a popup.
    void setMenu(const MenuBar& menu);
    const MenuBar& menu() const { return menu_; }

    // A hidden bar draws nothing and lets every event through; hiding closes an open popup.
    void setShown(bool shown);
    bool shown() const { return shown_; }

    // Bar entry boxes, one per entry in order (entries past the right edge get empty boxes).
    const std::vector<MenuBox>& entryBoxes() const { return entryBoxes_; }
    bool isOpen() const { return open_ >= 0; }
    int openEntry() const { return open_; }
    int hotEntry() const { return hotEntry_; }
    int hotItem() const { return hotItem_; }
    // The open popup and its item boxes (in menu units), empty when none is open.
    MenuBox popupBox() const { return popupBox_; }
    const std::vector<MenuBox>& itemBoxes() const { return itemBoxes_; }

    struct Result {
        bool consumed = false;      // the menu took the event: the game must not see it
        std::optional<int> command; // a chosen item
        bool changed = false;       // what the menu shows changed: paint again
    };

    // Pointer input in menu units. outside = the pointer is not over the picture or the bar at
    // all (a letterbox border): it is over no entry and no popup.
    Result pointerMove(int x, int y, bool outside = false);
    Result buttonDown(int x, int y, bool outside = false);
    Result buttonUp(int x, int y, bool outside = false);
    // A typed key (Escape = 27). While a popup is open every key is the menu's; Escape closes it.
    Result key(int code);
    // Closes an open popup; true when one was open.
    bool close();

    // Paints the bar (kScreenWidth x kMenuBarRows, times scale) and the open popup (its box's
    // size times scale). text must be an em of kMenuTextPixels * scale.
    void paintBar(RgbCanvas& canvas, UiText& text, int scale) const;
    void paintPopup(RgbCanvas& canvas, UiText& text, int scale) const;

private:
    void layout();
    void open(int entry);
    int entryAt(int x, int y, bool outside) const;
    int itemAt(int x, int y, bool outside) const;
    bool inBar(int x, int y, bool outside) const;

    TextMeasure measure_;
    MenuBar menu_;
    bool shown_ = true;
    std::vector<MenuBox> entryBoxes_;
    int open_ = -1;
    int hotEntry_ = -1;
    int hotItem_ = -1;
    int pressedPlain_ = -1;  // a plain bar entry the button went down on
    bool swallowUp_ = false; // the press closed the popup: its release is the menu's too
    MenuBox popupBox_;
    std::vector<MenuBox> itemBoxes_;
};

} // namespace orv
