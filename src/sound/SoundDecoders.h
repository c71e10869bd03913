// The built-in decoders, chosen by what a file holds rather than by its name: whatever a
// registration lets through plays when one of them knows its content.
#pragma once

#include "sound/SoundSource.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace orv {

class MidiSynth;
using MidiSynthGetter = std::function<std::shared_ptr<MidiSynth>(std::string* error)>;

enum class SoundContent { Midi, Mp3, Other };

SoundContent sniffSound(std::string_view bytes);

// A MIDI file needs the synthesizer: `midiSynth` gives it (loading it at the first need) or
// nullptr with the reason. nullptr with the reason in *error when nothing can decode the bytes.
std::unique_ptr<SoundSource> openSound(SoundBytes bytes, const MidiSynthGetter& midiSynth,
                                       std::string* error);

} // namespace orv
