// Keyboard play in the lists the player picks from (choices, the menu's entries, the save
// slots): the arrow keys and Tab move the highlight as the pointer would.
#pragma once

#include "platform/Platform.h"

namespace orv {

// How far an event moves the highlight: 1 for Down and Tab, -1 for Up and Shift+Tab, 0 for
// anything else.
inline int highlightStep(const Event* event) {
    if (!event) return 0;
    if (event->kind == EventKind::Char) return event->code == '\t' ? 1 : 0;
    if (event->kind != EventKind::Key) return 0;
    if (event->code == kKeyDown) return 1;
    if (event->code == kKeyUp || event->code == kKeyBackTab) return -1;
    return 0;
}

// The entry a step leads to among count entries, round at the ends; from no highlight (-1) the
// first step lands on the first entry (down) or the last (up).
inline int steppedEntry(int current, int step, int count) {
    if (count <= 0) return -1;
    if (current < 0) return step > 0 ? 0 : count - 1;
    return ((current + step) % count + count) % count;
}

// Enter or Space: take the highlighted entry.
inline bool isTakeKey(const Event* event) {
    return event && event->kind == EventKind::Char && (event->code == '\r' || event->code == ' ');
}

} // namespace orv
