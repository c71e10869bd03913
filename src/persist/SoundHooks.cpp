#include "persist/SoundHooks.h"

#include "interp/Engine.h"

namespace orv {

SlotSound soundForSnapshot(const Engine& engine) {
    return engine.persist.slots.sound;
}

MusicResume musicToResume(const SlotSound& sound) {
    MusicResume resume;
    resume.cdTrack = sound.cdTrack;
    resume.cdLoop = sound.cdTrack != -1 && sound.cdLoop != 0;
    resume.midiName = sound.midiName;
    resume.midiLoop = !sound.midiName.empty() && sound.midiLoop != 0;
    if (sound.wavLoop != 0) resume.wavName = sound.wavName;
    resume.mp3Name = sound.mp3Name;
    return resume;
}

void restoreMusicAfterLoad(Engine& engine, const SlotSound& sound) {
    SaveSlotState& slots = engine.persist.slots;
    slots.lastResume = musicToResume(sound);
    // What plays from now on, as a later snapshot must record it: a one-shot WAV is over.
    SlotSound now = sound;
    if (now.wavLoop == 0) now.wavName.clear();
    slots.sound = now;
}

void playMenuVoice(Engine& engine, std::string_view name) {
    if (!name.empty()) engine.persist.slots.lastVoice = name;
}

void forgetSound(Engine& engine) {
    SaveSlotState& slots = engine.persist.slots;
    slots.sound = SlotSound{};
    slots.sound.cdTrack = -1;
}

} // namespace orv
