// The lookback viewer: the finished pages of the lookback record shown again one at a time in the
// text window, in a colour of their own, paged with buttons at the window's right edge.
#pragma once

#include <string_view>
#include <vector>

namespace orv {

struct Engine;

// The finished pages of a lookback record, oldest first: the bytes between two page ends. A line
// feed and a page end are one byte each and anything else begins a two-byte cell, as the record
// was written, so a page end is never looked for inside a cell; nothing is read past the record.
// The text after the last page end (the page still being written) is not among them.
std::vector<std::string_view> finishedPages(std::string_view record);

// Shows the newest finished page and lets the player page through them until a right click.
// Returns false at once when there is no finished page.
bool showLookback(Engine& engine);

// After the definition block: the default button pictures, unless the game named its own (or an
// earlier engine pass loaded them). A missing default is a blank picture.
void loadDefaultLookbackButtons(Engine& engine);

// The paging state the pointer's height gives: -1 over the upper third of the window (when an
// older page exists), 1 over the lower third (when a newer one exists), 0 elsewhere.
int lookbackPagingAt(int top, int bottom, int y, bool older, bool newer);

} // namespace orv
