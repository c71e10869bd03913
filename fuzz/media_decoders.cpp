// Pictures and sounds come from game folders and archives, so any bytes may reach the built-in
// decoders and our adapters around them (reading from memory, feeding the MP3 decoder, the GIF
// and JPEG glue, choosing by content). Each input goes to both: a decoded picture must be a
// self-consistent 24-bit surface, a refused one empty; a sound that opens must stay within its
// format and end by itself, and starting over must work alike.
// Seeds: two WAV files written by hand; tone.mp3 (0.1 s of 440 Hz at 8 kHz) written once through
// libsndfile's MP3 encoder; tiny PNG, JPEG and GIF pictures written once with ImageMagick.
#include "graphics/PictureDecoders.h"
#include "sound/SoundDecoders.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    picture(bytes);
    sound(bytes);
    return 0;
}
