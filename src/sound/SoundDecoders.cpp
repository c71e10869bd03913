#include "sound/SoundDecoders.h"

#include "sound/MidiSource.h"
#include "sound/Mp3Source.h"
#include "sound/SndfileSource.h"

namespace orv {

SoundContent sniffSound(std::string_view b) {
    auto at = [&](size_t i) { return i < b.size() ? uint8_t(b[i]) : 0; };
    if (b.starts_with("MThd")) return SoundContent::Midi;
    // A RIFF-wrapped MIDI file; the wrapping is passed over by the player's own reader.
    if (b.size() >= 12 && b.starts_with("RIFF") && b.substr(8, 4) == "RMID")
        return SoundContent::Midi;
    if (b.starts_with("ID3")) return SoundContent::Mp3;
    // An MPEG audio frame header: eleven set sync bits, then a layer other than 0.
    if (at(0) == 0xFF && (at(1) & 0xE0) == 0xE0 && (at(1) & 0x06) != 0) return SoundContent::Mp3;
    return SoundContent::Other;
}

std::unique_ptr<SoundSource> openSound(SoundBytes bytes, const MidiSynthGetter& midiSynth,
                                       std::string* error) {
    switch (sniffSound(*bytes)) {
    case SoundContent::Midi: {
        std::shared_ptr<MidiSynth> synth = midiSynth(error);
        if (!synth) return nullptr;
        // The player reads the MIDI data past the RIFF wrapping.
        if (bytes->starts_with("RIFF")) {
            const size_t data = bytes->find("MThd");
            if (data == std::string::npos) {
                if (error) *error = "no MIDI data in the RIFF file";
                return nullptr;
            }
            bytes = std::make_shared<const std::string>(bytes->substr(data));
        }
        return openMidiSource(std::move(synth), std::move(bytes));
    }
    case SoundContent::Mp3:
        return openMp3Source(std::move(bytes), error);
    case SoundContent::Other:
        break;
    }
    return openSndfileSource(std::move(bytes), error);
}

} // namespace orv
