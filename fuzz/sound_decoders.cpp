// Sound files come from game folders, so any bytes may reach the decoders and our adapters in
// front of them (reading from memory, feeding the MP3 decoder, choosing by content). A source
// that opens must stay within its format and end by itself; starting over must work alike.
// Seeds: two WAV files written by hand, and tone.mp3 (0.1 s of 440 Hz at 8 kHz) written once
// through libsndfile's MP3 encoder.
#include "sound/SoundDecoders.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Ten seconds at most per input, so a file that claims hours is still quick to fuzz.
constexpr size_t kMaxFrames = 48000 * 10;

void check(bool condition) {
    if (!condition) std::abort();
}

size_t drain(orv::SoundSource& source) {
    std::vector<float> block(1024 * size_t(source.channels()));
    size_t total = 0;
    while (total < kMaxFrames) {
        const size_t n = source.read(block.data(), 1024);
        check(n <= 1024);
        if (n == 0) break;
        total += n;
    }
    return total;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto bytes = std::make_shared<const std::string>(reinterpret_cast<const char*>(data), size);
    std::string error;
    // No synthesizer: MIDI files are refused here (FluidSynth's own reader is not ours).
    auto source = orv::openSound(
        bytes,
        [](std::string* why) {
            *why = "no synthesizer";
            return nullptr;
        },
        &error);
    if (!source) {
        check(!error.empty());
        return 0;
    }
    check(source->rate() > 0 && source->channels() > 0);
    drain(*source);
    if (source->rewind()) drain(*source);
    return 0;
}
