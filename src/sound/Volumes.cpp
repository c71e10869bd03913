#include "sound/Volumes.h"

#include "interp/Engine.h"
#include "sound/Mixer.h"
#include "sound/SoundLog.h"

#include <algorithm>
#include <string>

namespace orv {

namespace {

constexpr std::string_view kNames[kVolumeCategories] = {"music", "effects", "voices", "video"};

std::string settingsKey(VolumeCategory category) {
    return "volume." + std::string(volumeName(category));
}

void logVolume(Engine& engine, const std::string& event) {
    if (engine.sound.log) engine.sound.log->write(engine.platform.ticks(), event);
}

} // namespace

std::string_view volumeName(VolumeCategory category) {
    return kNames[size_t(category)];
}

int effectiveVolume(const Engine& engine, VolumeCategory category) {
    const PlayerVolumes& v = engine.sound.volumes;
    return v.muted ? 0 : v.percent[size_t(category)];
}

void loadVolumes(Engine& engine) {
    PlayerVolumes& v = engine.sound.volumes;
    const OrvaneSettings& settings = engine.persist.settings;
    for (size_t i = 0; i < kVolumeCategories; ++i)
        v.percent[i] = settings.getInt(settingsKey(VolumeCategory(i)), 100, 0, 100);
    v.muted = settings.getBool("volume.mute", false);
    applyVolumes(engine);
}

void setPlayerVolume(Engine& engine, VolumeCategory category, int percent) {
    percent = std::clamp(percent, 0, 100);
    engine.sound.volumes.percent[size_t(category)] = percent;
    engine.persist.settings.setInt(settingsKey(category), percent);
    logVolume(engine,
              "volume " + std::string(volumeName(category)) + " " + std::to_string(percent));
    applyVolumes(engine);
}

void setMuted(Engine& engine, bool muted) {
    engine.sound.volumes.muted = muted;
    engine.persist.settings.setBool("volume.mute", muted);
    logVolume(engine, muted ? "mute on" : "mute off");
    applyVolumes(engine);
}

void applyVolumes(Engine& engine) {
    Mixer* mixer = engine.sound.mixer.get();
    if (!mixer) return;
    const int music = effectiveVolume(engine, VolumeCategory::Music);
    mixer->setGain(SoundChannel::Cd, music);
    mixer->setGain(SoundChannel::Midi, music);
    mixer->setGain(SoundChannel::Mp3, music);
    mixer->setGain(SoundChannel::Wav,
                   effectiveVolume(engine, engine.sound.waveIsVoice ? VolumeCategory::Voices
                                                                    : VolumeCategory::Effects));
    mixer->setGain(SoundChannel::Video, effectiveVolume(engine, VolumeCategory::Video));
}

} // namespace orv
