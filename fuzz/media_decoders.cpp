// Pictures and sounds come from game folders and archives, so any bytes may reach the built-in
// decoders and our adapters around them (reading from memory, feeding the MP3 decoder, the GIF
// and JPEG glue, choosing by content). Each input goes to both: a decoded picture must be a
// self-consistent 24-bit surface, a refused one empty; a sound that opens must stay within its
// format and end by itself, and starting over must work alike.
// Seeds: two WAV files written by hand; tone.mp3 (0.1 s of 440 Hz at 8 kHz) written once through
// libsndfile's MP3 encoder; tiny PNG, JPEG and GIF pictures written once with ImageMagick;
// tiny.avi (MPEG-4 32x24, 3 pictures, ADPCM sound) written once with tools/video/make_video.
// Each input is also opened as a video (through a file: the media libraries read by path): what
// opens gives whole 640x480 pictures in time order and a sound that finishes.
#include "graphics/PictureDecoders.h"
#include "platform/Platform.h"
#include "sound/SoundDecoders.h"
#include "video/VideoFile.h"
#include "video/VideoSound.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

// Ten seconds at most per input, so a file that claims hours is still quick to fuzz.
constexpr size_t kMaxFrames = 48000 * 10;

void check(bool condition) {
    if (!condition) std::abort();
}

void drain(orv::SoundSource& source) {
    std::vector<float> block(1024 * size_t(source.channels()));
    for (size_t total = 0; total < kMaxFrames;) {
        const size_t n = source.read(block.data(), 1024);
        check(n <= 1024);
        if (n == 0) break;
        total += n;
    }
}

void picture(std::string_view bytes) {
    orv::Surface surface;
    if (!orv::decodePicture(surface, bytes)) {
        check(surface.empty());
        return;
    }
    check(surface.width >= 1 && surface.height >= 1);
    check(surface.stride == orv::surfaceStride(surface.width, surface.bitsPerPixel));
    check(surface.pixels.size() == size_t(surface.stride) * size_t(surface.height));
}

void sound(std::string_view bytes) {
    auto shared = std::make_shared<const std::string>(bytes);
    std::string error;
    // No synthesizer: MIDI files are refused here (FluidSynth's own reader is not ours).
    auto source = orv::openSound(
        shared,
        [](std::string* why) {
            *why = "no synthesizer";
            return std::shared_ptr<orv::MidiSynth>();
        },
        &error);
    if (!source) {
        check(!error.empty());
        return;
    }
    check(source->rate() > 0 && source->channels() > 0);
    drain(*source);
    if (source->rewind()) drain(*source);
}

void video(std::string_view bytes) {
    static const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                              ("orvane-fuzz-" + std::to_string(getpid()) + ".avi");
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(bytes.data(), std::streamsize(bytes.size()));
    }
    orv::VideoOpenError why;
    std::unique_ptr<orv::VideoFile> file = orv::VideoFile::open(path, 44100, &why);
    if (!file) {
        check(why != orv::VideoOpenError::None);
        return;
    }
    orv::VideoPicture picture;
    for (int i = 0; i < 64 && file->nextPicture(picture); ++i)
        check(picture.pixels.size() == size_t(orv::kScreenWidth) * 3 * orv::kScreenHeight);
    // Read to its end (or left after 64 pictures), the sound is finished or still open; either
    // way what is queued reads out.
    if (file->sound()) {
        std::vector<float> block(2048);
        while (file->sound()->finished() && file->sound()->read(block.data(), 1024) > 0) {
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    picture(bytes);
    sound(bytes);
    video(bytes);
    return 0;
}
