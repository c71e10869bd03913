// What the choices keep between commands: their two colours, their three voices and the list of
// the last choice command. One instance lives in the Engine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orv {

struct Engine;

// Entries a choice list holds; one more is a scenario error.
inline constexpr size_t kMaxChoices = 50;

inline constexpr uint32_t kDefaultChoiceHighlighted = 0xffffff;
inline constexpr uint32_t kDefaultChoiceNormal = 0xaaaaaa;

struct ChoiceState {
    // 0xRRGGBB, set by `selectcolor`.
    uint32_t highlightedColour = kDefaultChoiceHighlighted;
    uint32_t normalColour = kDefaultChoiceNormal;
    // WAV names set by `selectvoice`; empty plays nothing.
    std::string shownVoice;
    std::string movedVoice;
    std::string decidedVoice;

    // The shown choices of the last choice command (empty texts already left out), and for
    // select and selgosub the label of each.
    std::vector<std::string> texts;
    std::vector<std::string> labels;
};

// Each engine pass: the colours and voices back to their defaults.
void startChoicePass(Engine& engine);

} // namespace orv
