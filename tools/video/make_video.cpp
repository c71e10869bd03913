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
    orv::videowriter::VideoPlan plan;
    plan.width = 640;
    plan.height = 480;
    plan.framesPerSecond = 30;
    plan.soundCodec = "pcm_s16le";
    int seconds = 10;
    if (argc >= 7) {
        plan.codec = argv[2];
        plan.width = std::atoi(argv[3]);
        plan.height = std::atoi(argv[4]);
        plan.framesPerSecond = std::atoi(argv[5]);
        seconds = std::atoi(argv[6]);
        plan.soundCodec = argc >= 8 ? argv[7] : "";
    }
    if (plan.width <= 0 || plan.height <= 0 || plan.framesPerSecond <= 0 || seconds <= 0) {
        std::cerr << "make_video: sizes, rate and length must be positive\n";
        return 1;
    }
    plan.frames = plan.framesPerSecond * seconds;
    const int w = plan.width;
    std::string error;
    const bool ok = orv::videowriter::writeVideo(
        argv[1], plan,
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
