// The platform for people: an SDL2 window with the menu strip above the
// 640x480 picture, scaled by a whole factor or letterboxed in full screen.
// Callers never see SDL types; only this folder includes SDL headers.
#pragma once

#include "platform/Platform.h"
#include "platform/sdl/SdlLayout.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

class MenuView;
class Transcript;

struct SdlOptions {
    // Whole factor for the window, clamped to 1..8; 0: the largest that fits the desktop.
    int scale = 1;
    bool fullscreen = false;
    // Receives writeTranscript() text when the run records a transcript.
    std::shared_ptr<Transcript> transcript;
};

// Null, with the reason in *error, when SDL cannot open a window (no display;
// SDL's offscreen or dummy driver is accepted only when SDL_VIDEODRIVER asks
// for it). Set ORVANE_WINDOW_AT_ORIGIN=1 to place the window at (0, 0), for a
// display without a window manager.
std::unique_ptr<Platform> createSdlPlatform(const SdlOptions& options, std::string* error);

// Where the strip and the picture are now, in output pixels; empty for a
// platform that is not the SDL one.
std::optional<SdlLayout> sdlLayout(Platform& platform);

// The menu bar as the backend shows and tracks it (entry and popup boxes in menu units, the open
// popup); null for another platform.
const MenuView* sdlMenuView(Platform& platform);

// Moves the system pointer to window pixel (x, y); the motion comes back
// through the event queue like the player's. False for another platform.
bool warpSdlPointer(Platform& platform, int x, int y);

} // namespace orv
