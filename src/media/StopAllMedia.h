// The one sequence that silences everything: used at every engine run, reset
// to the start, load, fatal error and shut-down.
#pragma once

namespace orv {

struct Engine;

void stopAllMedia(Engine& engine);

} // namespace orv
