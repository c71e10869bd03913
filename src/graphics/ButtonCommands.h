// The commands of the script's clickable screens and their waits: picture buttons (`btndef`,
// `btn`, `btnwait`, `btnwait2`) and the links in the display text (`tbtnwait`).
#pragma once

#include <cstdint>

namespace orv {

struct Engine;

// Each engine pass starts without buttons and without a button picture.
void startButtonPass(Engine& engine);

// Waits for a click on a button, highlighting the one under the pointer on the display surface
// only. The clicked button's value, 0 for a click beside every button, -1 for a right click
// (which takes the highlight away).
int32_t waitButton(Engine& engine);
// Waits for a click on a text link, underlining the one under the pointer; returns its number.
// Right clicks and clicks beside the links are ignored.
int32_t waitTextLink(Engine& engine);

void cmdBtndef(Engine& engine);
void cmdBtn(Engine& engine);
void cmdBtnwait(Engine& engine);
void cmdBtnwait2(Engine& engine);
void cmdTbtnwait(Engine& engine);

} // namespace orv
