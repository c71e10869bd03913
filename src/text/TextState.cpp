#include "text/TextState.h"

namespace orv {

bool TextLinkTable::open(int number, int left, int top) {
    if (count >= kCapacity) return false;
    TextLink& link = entries[static_cast<size_t>(count)];
    link.number = number;
    link.left = left;
    link.top = top;
    return true;
}

bool TextLinkTable::close(int right) {
    if (count >= kCapacity) return false;
    entries[static_cast<size_t>(count++)].right = right;
    return true;
}

} // namespace orv
