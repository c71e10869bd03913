// --explore: plays a game many times from the start, picking at random wherever the player
// decides, and reports how the plays ended, what of the scenario they reached and every distinct
// scenario error with an events file that replays it.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

namespace orv {

struct ExploreOptions {
    std::string gameDir;
    uint64_t plays = 100;
    uint64_t seed = 1;
    uint64_t maxSteps = 1000000;  // statements a play may run
    uint64_t maxTimeMs = 3600000; // virtual time a play may take
    std::string outDir = ".";     // where explore-error-K.events go
    uint64_t jobs = 1;            // processes playing side by side
};

// Prints the report on out and returns the exit status: 0 when no play met a scenario error, 2
// when one did, 1 when the game cannot be played at all (said on err).
int runExplore(const ExploreOptions& options, std::ostream& out, std::ostream& err);

} // namespace orv
