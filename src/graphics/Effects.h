// The numbered transition effects the scenario defines, and the effect of the text window.
#pragma once

#include <array>
#include <string>

namespace orv {

struct EffectSpec {
    int type = -1;     // 0..18; -1 = not defined
    int duration = 0;  // ms
    std::string image; // mask picture text for the mask wipes; empty = none
};

inline constexpr int kEffectCount = 50;
inline constexpr int kDefaultEffectPause = 30;

struct EffectState {
    std::array<EffectSpec, kEffectCount> registry;
    EffectSpec windowEffect{1, 0, {}};
    int effectPause = kDefaultEffectPause; // ms after every transition but the plain one

    EffectState() { reset(); }

    // What every engine pass starts from: only effects 0 (nothing) and 1 (plain) exist.
    void reset() {
        registry.fill(EffectSpec{});
        registry[0].type = 0;
        registry[1].type = 1;
        windowEffect = EffectSpec{1, 0, {}};
        effectPause = kDefaultEffectPause;
    }
};

} // namespace orv
