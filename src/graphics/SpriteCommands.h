// The sprite commands. Each only changes the table and widens the dirty rectangle; the change
// shows with the next effect (or the next cell an animated picture moves to).
#pragma once

namespace orv {

struct Engine;

// lsp n, picture, x, y [, level]: sprite n loaded and shown; lsph loads it hidden.
void cmdLsp(Engine& engine);
void cmdLsph(Engine& engine);
// csp n: sprite n removed; -1 removes them all.
void cmdCsp(Engine& engine);
// vsp n, visible.
void cmdVsp(Engine& engine);
// msp n, dx, dy [, dlevel]: moved, and its blend level changed within 0..255.
void cmdMsp(Engine& engine);

} // namespace orv
