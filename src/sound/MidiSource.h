// Standard MIDI files played through FluidSynth with a General MIDI sound font.
#pragma once

#include "sound/SoundSource.h"

#include <string>

namespace orv {

// One synthesizer with its sound font, loaded once and shared by the MIDI files played after.
class MidiSynth;

// The sound font to use: $ORVANE_SOUNDFONT, else the first General MIDI font of the usual
// Debian places that exists; empty when there is none.
std::string findSoundFont();

// nullptr with the reason in *error when the font cannot be loaded.
std::shared_ptr<MidiSynth> loadMidiSynth(const std::string& soundFont, int rate,
                                         std::string* error);

// The synthesizer plays the file from its start; the source ends with the file's last event.
std::unique_ptr<SoundSource> openMidiSource(std::shared_ptr<MidiSynth> synth, SoundBytes bytes);

} // namespace orv
