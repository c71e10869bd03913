// The two settings files outside the scenario. "envdata" keeps the player's menu choices from one
// run to the next: written at every exit, applied at every engine start by posting the same menu
// commands the player would give, so the check marks and the settings always agree.
// "config.txt" belongs to whoever installs the game: only its "cdfadeoff" line is read.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

struct Engine;

inline constexpr std::string_view kEnvDataFileName = "envdata";
inline constexpr std::string_view kConfigFileName = "config.txt";

// "envdata": four 32-bit little-endian integers and the face name with its zero byte.
struct EnvData {
    int32_t fullScreen = 0;
    int32_t waveEnabled = 1;
    int32_t speedIndex = 1;
    int32_t displayMode = 0;
    std::string face; // Shift-JIS
};

std::string encodeEnvData(const EnvData& data);
// A short file gives 0 for the missing numbers and an empty face.
EnvData decodeEnvData(std::string_view bytes);

// At every exit.
void writeEnvData(Engine& engine);
// At every engine start, before the window is shown: the stored choices as menu commands.
void applyEnvData(Engine& engine);
// Once per program run, before the first engine start.
void readConfig(Engine& engine);

} // namespace orv
