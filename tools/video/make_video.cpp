// Writes a test video: moving colour bands, so that every picture differs from the last, and a
// steady tone.
//
//   make_video OUT.avi [CODEC WIDTH HEIGHT FRAMES_PER_SECOND SECONDS [SOUND_CODEC]]
//
// Defaults: mpeg4 640 480 30 10 pcm_s16le. Used by the scripted speed run (bench/video-cpu.sh).
#include "VideoWriter.h"

#include <cstdlib>
#include <iostream>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: make_video OUT.avi [CODEC WIDTH HEIGHT FPS SECONDS [SOUND]]\n";
        return 1;
    }
    orv::videowriter::VideoSpec spec;
    spec.width = 640;
    spec.height = 480;
    spec.framesPerSecond = 30;
    spec.soundCodec = "pcm_s16le";
    int seconds = 10;
    if (argc >= 7) {
        spec.codec = argv[2];
        spec.width = std::atoi(argv[3]);
        spec.height = std::atoi(argv[4]);
        spec.framesPerSecond = std::atoi(argv[5]);
        seconds = std::atoi(argv[6]);
        spec.soundCodec = argc >= 8 ? argv[7] : "";
    }
    if (spec.width <= 0 || spec.height <= 0 || spec.framesPerSecond <= 0 || seconds <= 0) {
        std::cerr << "make_video: sizes, rate and length must be positive\n";
        return 1;
    }
    spec.frames = spec.framesPerSecond * seconds;
    const int w = spec.width;
    std::string error;
    const bool ok = orv::videowriter::writeVideo(
        argv[1], spec,
        [w](int index, std::vector<uint8_t>& rgb) {
            for (size_t p = 0; p < rgb.size() / 3; ++p) {
                const int x = int(p % size_t(w)), y = int(p / size_t(w));
                rgb[p * 3] = uint8_t(x + index * 4);
                rgb[p * 3 + 1] = uint8_t(y + index * 2);
                rgb[p * 3 + 2] = uint8_t((x ^ y) + index);
            }
        },
        &error);
    if (!ok) {
        std::cerr << "make_video: " << error << "\n";
        return 1;
    }
    return 0;
}
