// What the menu bar's items do when the window procedure receives their Command.
#pragma once

namespace orv {

struct Engine;

// Carries out the menu command id: one of the bar's items, or a font entry's number.
void runMenuCommand(Engine& engine, int id);

// Copies the display surface to the window and shows it, as a repaint of the whole window does
// (nothing while a video has the window).
void repaintWindow(Engine& engine);

} // namespace orv
