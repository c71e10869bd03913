// The end of the program: what the window's destruction did, in its order.
#pragma once

namespace orv {

struct Engine;

// Writes what must survive the run, stops all media, leaves full screen and
// ends the run with the exit status (by throwing ExitRequest).
[[noreturn]] void shutDown(Engine& engine, int status);

} // namespace orv
