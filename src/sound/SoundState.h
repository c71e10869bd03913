// What the sound subsystem keeps: the device and mixer (opened at the first sound), the
// plug-in registrations, and the state of the four players (CD track, MIDI, MP3, WAV) as the
// scenario sees it, which holds whether or not a device plays anything.
#pragma once

#include "sound/PluginCache.h"
#include "sound/Volumes.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <string>

namespace orv {

class AudioDevice;
class HeadlessAudio;
class Mixer;
class MidiSynth;
class SoundLog;

// One player's file: the name the scenario gave, and the temporary copy to delete when it stops
// (empty when the file is played where it lies).
struct PlayedFile {
    std::string name;
    std::filesystem::path temporary;
    bool loop = false;
    bool sounding = false; // the mixer has it (false with no device or an undecodable file)
    bool heardEnd = false; // its end was noticed (and logged) already
};

struct SoundState {
    SoundState();
    SoundState(const SoundState&) = delete;
    SoundState& operator=(const SoundState&) = delete;
    ~SoundState();

    // Set by the program entry: makes the device sound plays on. Without it (or when it cannot
    // open) the engine runs silent; the players' state still follows the scenario.
    std::function<std::unique_ptr<AudioDevice>()> makeDevice;
    std::unique_ptr<SoundLog> log;

    // Opened at the first sound; the headless device is pulled by the engine's clock.
    std::unique_ptr<AudioDevice> device;
    HeadlessAudio* virtualDevice = nullptr;
    uint32_t deviceOpenedAt = 0;
    std::unique_ptr<Mixer> mixer;
    // What the device's pull reads from (on the device's thread): null until the mixer is made.
    std::atomic<Mixer*> pullTarget{nullptr};
    bool deviceTried = false;
    std::shared_ptr<MidiSynth> synth;
    bool synthTried = false;
    // The sound font loading in the background since the start (in a window): the
    // synthesizer, or why there is none.
    std::future<std::pair<std::shared_ptr<MidiSynth>, std::string>> synthLoading;

    PluginCache plugins;
    SoundPluginList soundPlugins;

    // CD tracks: audio files in the game folder, found when the first track is played.
    bool cdOpen = false;
    std::map<int, std::filesystem::path> cdTracks;
    int cdTrackCount = 0;
    int cdTrack = -1;      // the current track, -1 none
    int cdPlayedTrack = 0; // the track number actually playing (the last one for a higher one)
    bool cdPlaying = false;
    bool cdLoop = false;
    bool cdSounding = false;
    bool cdHeardEnd = false;
    int cdFadeOutMs = 1000;
    bool fadeDisabled = false; // "cdfadeoff" in config.txt

    bool midiOpen = false;
    PlayedFile midi;
    bool wavePlaying = false;
    PlayedFile wave;
    bool mp3Playing = false;
    PlayedFile mp3;

    // The player's levels over the scenario's sound, and whether the WAV player's sound is a
    // voice (which has a level of its own) rather than an effect.
    PlayerVolumes volumes;
    bool waveIsVoice = false;
};

} // namespace orv
