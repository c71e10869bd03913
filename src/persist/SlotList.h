// The list of save slots the game's menu shows for saving and loading: one label per slot with
// its number and the date of its file, the used ones in the menu's colour, the empty ones in its
// unavailable colour.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

struct Engine;
struct MenuWindow;

// "%2d月%2d日%2d時%02d分" of the time, every digit and space full-width (Shift-JIS).
std::string slotDateText(const std::tm& local);

// The label of slot `slot` (from 1) of `count`: the slot word, a full-width space before a
// one-digit number when there are more than nine slots, the number in full-width digits, a
// full-width space, then the file's date or a row of dashes when there is no file.
std::string slotLabel(std::string_view word, int slot, int count,
                      const std::optional<std::tm>& modified);

// How much of a label names the slot (what the confirmation quotes): the word and the number.
size_t slotNameBytes(std::string_view word, int count);

// Where label i of count lies on the screen: the band [y, y + pitch y) from x to right.
struct SlotLabelPlace {
    int x = 0;
    int right = 0;
    int y = 0;
};
SlotLabelPlace slotLabelPlace(const MenuWindow& window, int count, int i, size_t labelBytes);

// Shows the list and waits for a slot: its index from 0, or -1 when a right click closed it. When
// loading, an empty slot is refused (the refusal voice) and the list stays. On a choice, name
// holds the slot's name for the confirmation.
int chooseSlot(Engine& engine, bool saving, std::string& name);

} // namespace orv
