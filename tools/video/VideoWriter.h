// Writes small AVI files with the media libraries' own encoders, for the tests and the demo's
// opening movie: pictures drawn by the caller, and optionally a steady tone as the sound track.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace orv::videowriter {

struct VideoPlan {
    // An encoder name: "mpeg4", "msvideo1", "cinepak", ...; empty for a file with sound only.
    std::string codec = "mpeg4";
    int width = 160;
    int height = 120;
    int framesPerSecond = 10;
    int frames = 10;
    // "pcm_s16le", "adpcm_ms", ...; empty for no sound. The sound lasts as long as the pictures.
    std::string soundCodec;
    int soundRate = 22050;
};

// Fills rgb (width * height * 3 bytes, rows top-down, red-green-blue) with picture `index`.
using DrawPicture = std::function<void(int index, std::vector<uint8_t>& rgb)>;

// False with the reason in *error.
bool writeVideo(const std::filesystem::path& path, const VideoPlan& plan, const DrawPicture& draw,
                std::string* error);

} // namespace orv::videowriter
