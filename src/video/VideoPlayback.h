// The `avi` command and the stop every engine start, load, fatal error and shut-down makes.
#pragma once

#include <string>

namespace orv {

struct Engine;

// Plays the video in the window and blocks the script until it ends or, with clickToStop,
// until the click flag is set (a click recorded before and not yet consumed ends it at once; the
// flag is left set). The window keeps the last picture until the next redraw.
void playVideo(Engine& engine, const std::string& name, bool clickToStop);

// Stops and closes whatever video plays, deleting its extracted copy.
void stopVideo(Engine& engine);

void cmdAvi(Engine& engine);

} // namespace orv
