// The points a player can click to pick each entry of a choice, button or link wait, for a run
// that picks for the player (--explore). Nothing is computed unless the shell asks for them.
#pragma once

#include "shell/ShellState.h"

#include <utility>
#include <vector>

namespace orv {

// One point inside each of count entries: the middle of the points hitAt(x, y) gives the entry
// for, on a 2-pixel grid over the screen (a point that misses its entry falls back to the
// entry's first hit); an entry hit nowhere gets none. Kept in the shell while the object lives.
class OfferedPicks {
public:
    template <typename HitAt>
    OfferedPicks(ShellState& shell, int count, HitAt&& hitAt) : shell_(shell) {
        shell_.pickPoints.clear();
        if (!shell_.listPicks || count <= 0) return;
        struct Sum {
            long long x = 0, y = 0, n = 0;
            int firstX = 0, firstY = 0;
        };
        std::vector<Sum> sums(static_cast<size_t>(count));
        for (int y = 0; y < kScreenHeight; y += 2)
            for (int x = 0; x < kScreenWidth; x += 2) {
                const int i = hitAt(x, y);
                if (i < 0 || i >= count) continue;
                Sum& s = sums[size_t(i)];
                if (s.n == 0) s.firstX = x, s.firstY = y;
                s.x += x, s.y += y, ++s.n;
            }
        for (int i = 0; i < count; ++i) {
            const Sum& s = sums[size_t(i)];
            if (s.n == 0) continue;
            int x = int(s.x / s.n), y = int(s.y / s.n);
            if (hitAt(x, y) != i) x = s.firstX, y = s.firstY;
            shell_.pickPoints.emplace_back(x, y);
        }
    }
    ~OfferedPicks() { shell_.pickPoints.clear(); }
    OfferedPicks(const OfferedPicks&) = delete;
    OfferedPicks& operator=(const OfferedPicks&) = delete;

private:
    ShellState& shell_;
};

} // namespace orv
