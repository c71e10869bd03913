#include "sound/SoundPlayback.h"

#include "interp/Engine.h"
#include "media/PackedFiles.h"
#include "platform/headless/HeadlessAudio.h"
#include "script/ErrorCaptions.h"
#include "script/ErrorReport.h"
#include "sound/CdTracks.h"
#include "sound/MidiSource.h"
#include "sound/Mixer.h"
#include "sound/SoundDecoders.h"
#include "sound/SoundLog.h"
#include "sound/Volumes.h"
#include "util/escape.h"
#include "util/sjis.h"

#include <algorithm>
#include <future>
#include <iostream>
#include <tuple>

namespace orv {

namespace {

// A sound file larger than this is refused rather than read into memory.
constexpr size_t kMaxSoundBytes = size_t(256) << 20;

void logSound(Engine& engine, const std::string& event) {
    if (engine.sound.log) engine.sound.log->write(engine.platform.ticks(), event);
}

void warn(const std::string& line) {
    std::cerr << "orvane: " << escapeControls(line) << "\n";
}

std::string loopWord(bool loop) {
    return loop ? " loop" : "";
}

// The mixer, opening the device at the first sound; null when the engine runs silent.
Mixer* mixerOf(Engine& engine) {
    SoundState& s = engine.sound;
    if (s.deviceTried) return s.mixer.get();
    s.deviceTried = true;
    if (!s.makeDevice) return nullptr;
    std::unique_ptr<AudioDevice> device = s.makeDevice();
    if (!device) return nullptr;
    std::string error;
    SoundState* state = &s;
    const bool opened = device->open(
        AudioFormat{},
        [state](int16_t* out, size_t frames) {
            if (Mixer* mixer = state->pullTarget.load()) {
                mixer->mix(out, frames);
            } else {
                std::fill_n(out, frames * size_t(AudioFormat{}.channels), int16_t(0));
            }
        },
        &error);
    if (!opened) {
        warn("no sound device (" + error + "); the game runs silent");
        return nullptr;
    }
    s.virtualDevice = dynamic_cast<HeadlessAudio*>(device.get());
    // The device's own thread asks for sound, so decoding gets a thread of its own; a device
    // pulled by the virtual clock decodes as it goes.
    s.mixer = std::make_unique<Mixer>(device->format(), s.virtualDevice == nullptr);
    s.deviceOpenedAt = engine.platform.ticks();
    s.device = std::move(device);
    s.pullTarget = s.mixer.get();
    return s.mixer.get();
}

std::shared_ptr<MidiSynth> midiSynthOf(Engine& engine, int rate, std::string* error) {
    SoundState& s = engine.sound;
    if (!s.synthTried) {
        s.synthTried = true;
        std::string why;
        if (s.synthLoading.valid()) {
            std::tie(s.synth, why) = s.synthLoading.get();
        } else if (const std::string font = findSoundFont(); font.empty()) {
            why = "no General MIDI sound font found (install timgm6mb-soundfont or set "
                  "ORVANE_SOUNDFONT)";
        } else {
            s.synth = loadMidiSynth(font, rate, &why);
        }
        if (!s.synth) warn(why + "; MIDI music is silent");
    }
    if (!s.synth && error) *error = "no sound font";
    return s.synth;
}

// Decodes the file onto a channel; a file nothing can decode is not heard (one line says why).
// True when the mixer has it.
bool startChannel(Engine& engine, SoundChannel channel, const std::filesystem::path& path,
                  const std::string& name, bool loop) {
    Mixer* mixer = mixerOf(engine);
    if (!mixer) return false;
    std::string error;
    std::optional<std::string> bytes = readFilePrefix(path, kMaxSoundBytes, &error);
    std::unique_ptr<SoundSource> source;
    bool midi = false;
    if (bytes) {
        midi = sniffSound(*bytes) == SoundContent::Midi;
        auto shared = std::make_shared<const std::string>(std::move(*bytes));
        const int rate = mixer->format().rate;
        source = openSound(
            shared, [&](std::string* why) { return midiSynthOf(engine, rate, why); }, &error);
    }
    if (!source) {
        // Without a synthesizer every MIDI file is silent: that was said once already.
        if (!(midi && !engine.sound.synth))
            warn("cannot play " + sjis::toUtf8(name) + ": " + error);
        return false;
    }
    mixer->setVolume(channel, 100);
    applyVolumes(engine);
    mixer->play(channel, std::move(source), loop);
    return true;
}

void stopChannel(Engine& engine, SoundChannel channel) {
    if (engine.sound.mixer) engine.sound.mixer->stop(channel);
}

// Whether the player still plays: what the mixer says when it has the sound; with no device or
// an undecodable file, whether the scenario started it (a silent player never ends).
bool channelPlaying(Engine& engine, SoundChannel channel, bool started, bool sounding) {
    if (!started) return false;
    if (!engine.sound.mixer || !sounding) return true;
    return engine.sound.mixer->playing(channel);
}

void removeTemporary(PlayedFile& file) {
    if (file.temporary.empty()) return;
    std::error_code ec;
    std::filesystem::remove(file.temporary, ec);
    file.temporary.clear();
}

[[noreturn]] void cannotOpen(Engine& engine, const std::string& name) {
    reportError(engine, S(caption::kLoad), formatMessage(S("ファイル%sを開けません。"), name));
}

// The file on disk, else its copy extracted from the archives (deleted when the sound stops).
std::filesystem::path findOrExtract(Engine& engine, const std::string& name, PlayedFile& file) {
    if (std::optional<std::filesystem::path> path = engine.fs.find(name)) return *path;
    std::optional<std::filesystem::path> extracted = extractFromArchive(engine, name);
    if (!extracted) cannotOpen(engine, name);
    file.temporary = *extracted;
    return *extracted;
}

// The file to play for a MIDI or WAV name: found on disk, then converted by a registered sound
// plug-in when its extension is not the player's own. nullopt when a plug-in cannot run (the
// sound is then not played, without a message).
std::optional<std::filesystem::path> resolveSound(Engine& engine, const std::string& name,
                                                  std::string_view ownExtension,
                                                  const char* temporaryName, PlayedFile& file) {
    std::optional<std::filesystem::path> path = findOrExtract(engine, name, file);
    const size_t dot = name.find('.');
    const std::string_view extension =
        dot == std::string::npos ? std::string_view() : std::string_view(name).substr(dot + 1);
    if (extension == ownExtension) return path;
    std::optional<std::string> library = engine.sound.soundPlugins.findLibrary(extension);
    if (!library) cannotOpen(engine, name);
    if (!engine.sound.plugins.getLibrary(*library)) return std::nullopt;
    // The conversion: the decoders go by content, so the converted file is the file itself.
    if (engine.tempDirectory.empty()) {
        warn("no temporary directory to convert " + sjis::toUtf8(name) + " into");
        return std::nullopt;
    }
    const std::filesystem::path output = engine.tempDirectory / temporaryName;
    std::error_code ec;
    std::filesystem::copy_file(*path, output, std::filesystem::copy_options::overwrite_existing,
                               ec);
    if (ec) {
        warn("cannot convert " + sjis::toUtf8(name) + ": " + ec.message());
        return std::nullopt;
    }
    removeTemporary(file);
    file.temporary = output;
    return output;
}

void stopCdNow(Engine& engine) {
    SoundState& s = engine.sound;
    if (channelPlaying(engine, SoundChannel::Cd, s.cdPlaying, s.cdSounding))
        logSound(engine, "stop cd");
    stopChannel(engine, SoundChannel::Cd);
    s.cdPlaying = false;
    s.cdTrack = -1;
}

// The fade: 99 volume steps over the fade time, blocking the script meanwhile.
void fadeOutCd(Engine& engine, int fadeMs) {
    SoundState& s = engine.sound;
    Mixer* mixer = s.mixer.get();
    logSound(engine, "fade cd " + std::to_string(fadeMs));
    const uint32_t step = uint32_t(fadeMs / 100);
    for (int k = 99; k >= 1; --k) {
        const uint32_t start = engine.platform.ticks();
        mixer->setVolume(SoundChannel::Cd, k);
        catchUpSound(engine);
        const uint32_t spent = engine.platform.ticks() - start;
        engine.platform.sleep(std::max<uint32_t>(step > spent ? step - spent : 0, 1));
    }
    catchUpSound(engine);
    stopCdNow(engine);
    mixer->setVolume(SoundChannel::Cd, 100);
}

// Each player's end, noticed once: the log says when it fell silent.
void noticeEnd(Engine& engine, SoundChannel channel, bool started, bool sounding, bool& heard,
               const std::string& what) {
    if (!started || heard || channelPlaying(engine, channel, started, sounding)) return;
    heard = true;
    logSound(engine, "end " + what);
}

} // namespace

Mixer* soundMixer(Engine& engine) {
    return mixerOf(engine);
}

void preloadSoundFont(Engine& engine) {
    SoundState& s = engine.sound;
    if (s.synthTried || s.synthLoading.valid()) return;
    // The synthesizer renders at the device's usual rate; the mixer stretches it to another.
    s.synthLoading = std::async(std::launch::async, [] {
        const int rate = AudioFormat{}.rate;
        std::pair<std::shared_ptr<MidiSynth>, std::string> result;
        const std::string font = findSoundFont();
        if (font.empty()) {
            result.second = "no General MIDI sound font found (install timgm6mb-soundfont or "
                            "set ORVANE_SOUNDFONT)";
        } else {
            result.first = loadMidiSynth(font, rate, &result.second);
        }
        return result;
    });
}

void catchUpSound(Engine& engine) {
    SoundState& s = engine.sound;
    if (s.virtualDevice) s.virtualDevice->runUntil(engine.platform.ticks() - s.deviceOpenedAt);
}

void playCdTrack(Engine& engine, int track, bool loop) {
    SoundState& s = engine.sound;
    catchUpSound(engine);
    if (track == 0) {
        stopCd(engine);
        return;
    }
    if (track == s.cdTrack && channelPlaying(engine, SoundChannel::Cd, s.cdPlaying, s.cdSounding))
        return;
    stopCd(engine);
    s.cdTrack = track;
    s.cdLoop = loop;
    if (!s.cdOpen) {
        s.cdTracks = findCdTracks(engine.fs.root());
        s.cdTrackCount = s.cdTracks.empty() ? 0 : s.cdTracks.rbegin()->first;
        if (s.cdTracks.empty())
            reportError(engine, S(caption::kError),
                        S("総トラック数が取得できません。恐らくCDが入っていません。"));
        s.cdOpen = true;
    }
    if (s.cdPlaying) {
        const int track = s.cdTrack;
        stopCdNow(engine);
        s.cdTrack = track;
    }
    const int played = std::min(track, s.cdTrackCount);
    s.cdPlayedTrack = played;
    s.cdPlaying = true;
    s.cdHeardEnd = false;
    logSound(engine, "play cd " + std::to_string(played) + loopWord(loop));
    auto file = s.cdTracks.find(played);
    s.cdSounding = false;
    if (file == s.cdTracks.end()) {
        warn("no audio file for CD track " + std::to_string(played) + " in the game folder");
        return;
    }
    // The notice of the track's end does the looping, as it would for a disc.
    s.cdSounding = startChannel(engine, SoundChannel::Cd, file->second,
                                "track " + std::to_string(played), false);
}

void stopCd(Engine& engine) {
    SoundState& s = engine.sound;
    if (s.cdTrack == -1) return;
    const int fade = s.cdFadeOutMs;
    if (fade <= 0 || s.fadeDisabled || !s.mixer) {
        stopCdNow(engine);
        return;
    }
    s.cdTrack = -1;
    fadeOutCd(engine, fade);
}

void playMidi(Engine& engine, const std::string& name, bool loop) {
    SoundState& s = engine.sound;
    catchUpSound(engine);
    closeMidi(engine);
    s.midi.loop = false;
    if (name.empty()) return;
    s.midi.name = name;
    std::optional<std::filesystem::path> path =
        resolveSound(engine, name, "mid", "Orvanetmp.mid", s.midi);
    if (!path) return;
    s.midi.loop = loop;
    s.midiOpen = true;
    s.midi.heardEnd = false;
    logSound(engine, "play midi " + sjis::toUtf8(name) + loopWord(loop));
    s.midi.sounding = startChannel(engine, SoundChannel::Midi, *path, name, false);
}

void closeMidi(Engine& engine) {
    SoundState& s = engine.sound;
    if (channelPlaying(engine, SoundChannel::Midi, s.midiOpen, s.midi.sounding))
        logSound(engine, "stop midi");
    stopChannel(engine, SoundChannel::Midi);
    removeTemporary(s.midi);
    s.midiOpen = false;
    s.midi.name.clear();
}

namespace {

void startWave(Engine& engine, const std::string& name, bool loop, bool voice) {
    SoundState& s = engine.sound;
    catchUpSound(engine);
    stopWave(engine);
    if (name.empty() || !engine.shell.waveEnabled || engine.shell.skipMode) return;
    s.waveIsVoice = voice;
    std::optional<std::filesystem::path> path =
        resolveSound(engine, name, "wav", "Orvanetmp.wav", s.wave);
    if (!path) return;
    s.wave.loop = loop;
    s.wave.name = name;
    s.wavePlaying = true;
    s.wave.heardEnd = false;
    logSound(engine, "wave " + sjis::toUtf8(name) + loopWord(loop));
    s.wave.sounding = startChannel(engine, SoundChannel::Wav, *path, name, loop);
}

} // namespace

void playWave(Engine& engine, const std::string& name, bool loop) {
    startWave(engine, name, loop, false);
}

void stopWave(Engine& engine) {
    SoundState& s = engine.sound;
    if (channelPlaying(engine, SoundChannel::Wav, s.wavePlaying, s.wave.sounding))
        logSound(engine, "stop wave");
    removeTemporary(s.wave);
    s.wave.name.clear();
    s.wavePlaying = false;
    stopChannel(engine, SoundChannel::Wav);
}

void playVoice(Engine& engine, const std::string& name) {
    if (!name.empty()) startWave(engine, name, false, true);
}

bool voicePlaying(Engine& engine) {
    SoundState& s = engine.sound;
    if (!s.waveIsVoice || !s.wave.sounding) return false;
    catchUpSound(engine);
    return channelPlaying(engine, SoundChannel::Wav, s.wavePlaying, s.wave.sounding);
}

void playMp3(Engine& engine, const std::string& name, bool loop) {
    SoundState& s = engine.sound;
    catchUpSound(engine);
    stopMp3(engine);
    s.mp3.loop = false;
    if (name.empty()) return;
    s.mp3.name = name;
    std::optional<std::filesystem::path> path = findOrExtract(engine, name, s.mp3);
    s.mp3.loop = loop;
    s.mp3Playing = true;
    s.mp3.heardEnd = false;
    logSound(engine, "mp3 " + sjis::toUtf8(name) + loopWord(loop));
    s.mp3.sounding = startChannel(engine, SoundChannel::Mp3, *path, name, loop);
}

void stopMp3(Engine& engine) {
    SoundState& s = engine.sound;
    if (s.mp3.name.empty()) return;
    if (channelPlaying(engine, SoundChannel::Mp3, s.mp3Playing, s.mp3.sounding))
        logSound(engine, "stop mp3");
    stopChannel(engine, SoundChannel::Mp3);
    removeTemporary(s.mp3);
    s.mp3.name.clear();
    s.mp3Playing = false;
}

void stopAllSound(Engine& engine) {
    SoundState& s = engine.sound;
    catchUpSound(engine);
    const int fade = s.cdFadeOutMs;
    s.cdFadeOutMs = 0;
    s.cdLoop = false;
    s.midi.loop = false;
    s.wave.loop = false;
    s.mp3.loop = false;
    stopCd(engine);
    closeMidi(engine);
    stopWave(engine);
    stopMp3(engine);
    s.cdFadeOutMs = fade;
}

void soundTimerTick(Engine& engine) {
    SoundState& s = engine.sound;
    catchUpSound(engine);
    if (s.midiOpen && s.midi.loop &&
        !channelPlaying(engine, SoundChannel::Midi, s.midiOpen, s.midi.sounding)) {
        // A file that cannot start again (its data refused by the player) is left silent.
        if (s.mixer->restart(SoundChannel::Midi))
            logSound(engine, "loop midi " + sjis::toUtf8(s.midi.name));
        else
            s.midi.loop = false;
    }
    if (s.cdPlaying && s.cdTrack != -1 && s.cdLoop &&
        !channelPlaying(engine, SoundChannel::Cd, s.cdPlaying, s.cdSounding)) {
        // The track's end comes as a notice: the same track once more, without a fade.
        const int fade = s.cdFadeOutMs;
        const int track = s.cdTrack;
        s.cdFadeOutMs = 0;
        s.cdTrack = 9999;
        playCdTrack(engine, track, true);
        s.cdFadeOutMs = fade;
    }
    noticeEnd(engine, SoundChannel::Cd, s.cdPlaying && s.cdTrack != -1, s.cdSounding, s.cdHeardEnd,
              "cd " + std::to_string(s.cdPlayedTrack));
    noticeEnd(engine, SoundChannel::Midi, s.midiOpen, s.midi.sounding, s.midi.heardEnd,
              "midi " + sjis::toUtf8(s.midi.name));
    noticeEnd(engine, SoundChannel::Wav, s.wavePlaying, s.wave.sounding, s.wave.heardEnd,
              "wave " + sjis::toUtf8(s.wave.name));
    noticeEnd(engine, SoundChannel::Mp3, s.mp3Playing, s.mp3.sounding, s.mp3.heardEnd,
              "mp3 " + sjis::toUtf8(s.mp3.name));
}

} // namespace orv
