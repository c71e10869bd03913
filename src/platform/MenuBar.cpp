#include "platform/MenuBar.h"

#include <utility>

namespace orv {

MenuEntry MenuEntry::plain(std::string label, int id) {
    MenuEntry entry;
    entry.item.id = id;
    entry.item.label = std::move(label);
    return entry;
}

MenuEntry MenuEntry::dropDown(std::string label, std::vector<MenuItem> items) {
    MenuEntry entry;
    entry.item.label = std::move(label);
    entry.popup = true;
    entry.items = std::move(items);
    return entry;
}

MenuItem* MenuBar::find(int id) {
    for (MenuEntry& entry : entries_) {
        if (!entry.popup) {
            if (entry.item.id == id) return &entry.item;
            continue;
        }
        for (MenuItem& item : entry.items)
            if (!item.separator && item.id == id) return &item;
    }
    return nullptr;
}

const MenuItem* MenuBar::find(int id) const {
    return const_cast<MenuBar*>(this)->find(id);
}

bool MenuBar::check(int id, bool on) {
    MenuItem* item = find(id);
    if (!item) return false;
    item->checked = on;
    return true;
}

bool MenuBar::isChecked(int id) const {
    const MenuItem* item = find(id);
    return item && item->checked;
}

bool MenuBar::insertBefore(int beforeId, MenuItem item) {
    for (MenuEntry& entry : entries_) {
        if (!entry.popup) continue;
        for (auto it = entry.items.begin(); it != entry.items.end(); ++it) {
            if (!it->separator && it->id == beforeId) {
                entry.items.insert(it, std::move(item));
                return true;
            }
        }
    }
    return false;
}

bool MenuBar::removeItem(int id) {
    for (MenuEntry& entry : entries_) {
        if (!entry.popup) continue;
        for (auto it = entry.items.begin(); it != entry.items.end(); ++it) {
            if (!it->separator && it->id == id) {
                entry.items.erase(it);
                return true;
            }
        }
    }
    return false;
}

bool MenuBar::removeEntryAt(size_t position) {
    if (position >= entries_.size()) return false;
    entries_.erase(entries_.begin() + std::ptrdiff_t(position));
    return true;
}

} // namespace orv
