// The window's menu bar as data: the engine builds and changes it (check marks, font entries,
// removed entries) and hands a copy to the platform, which draws it and turns a choice into a
// Command event with the item's id. Labels are UTF-8; the engine converts its Shift-JIS.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace orv {

struct MenuItem {
    int id = 0;
    std::string label;
    bool checked = false;
    bool separator = false; // a dividing line: no label, never chosen

    bool operator==(const MenuItem&) const = default;
};

// One entry of the bar: either a plain item chosen straight from the bar, or a popup whose items
// drop down below it.
struct MenuEntry {
    MenuItem item; // the label; for a plain entry also its id and check mark
    bool popup = false;
    std::vector<MenuItem> items;

    static MenuEntry plain(std::string label, int id);
    static MenuEntry dropDown(std::string label, std::vector<MenuItem> items);

    bool operator==(const MenuEntry&) const = default;
};

class MenuBar {
public:
    std::vector<MenuEntry>& entries() { return entries_; }
    const std::vector<MenuEntry>& entries() const { return entries_; }

    // The first item with this command id, plain bar entries and popup items alike; null when
    // there is none.
    MenuItem* find(int id);
    const MenuItem* find(int id) const;

    // Sets or clears the check mark of the item with this id; false when there is none.
    bool check(int id, bool on);
    bool isChecked(int id) const;

    // Inserts an item into the popup that holds beforeId, just before it; false (and nothing
    // inserted) when no popup holds that id.
    bool insertBefore(int beforeId, MenuItem item);

    // Removes the first popup item with this id; false when there is none.
    bool removeItem(int id);

    // Removes the bar entry at this position (0 = leftmost) with everything in it; false when
    // there is no such position.
    bool removeEntryAt(size_t position);

    bool operator==(const MenuBar&) const = default;

private:
    std::vector<MenuEntry> entries_;
};

} // namespace orv
