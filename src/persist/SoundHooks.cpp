#include "persist/SoundHooks.h"

#include "interp/Engine.h"
#include "sound/SoundPlayback.h"

namespace orv {

SlotSound soundForSnapshot(const Engine& engine) {
    const SoundState& s = engine.sound;
    SlotSound sound;
    sound.midiName = s.midiOpen ? s.midi.name : std::string();
    sound.wavName = s.wavePlaying ? s.wave.name : std::string();
    sound.cdTrack = s.cdPlaying ? s.cdTrack : -1;
    sound.midiLoop = s.midi.loop ? 1 : 0;
    sound.wavLoop = s.wave.loop ? 1 : 0;
    sound.cdLoop = s.cdLoop ? 1 : 0;
    sound.mp3Loop = s.mp3.loop ? 1 : 0;
    if (s.mp3Playing && s.mp3.loop) sound.mp3Name = s.mp3.name;
    return sound;
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
    const MusicResume resume = musicToResume(sound);
    engine.persist.slots.lastResume = resume;
    if (resume.cdTrack > 0) playCdTrack(engine, resume.cdTrack, resume.cdLoop);
    if (!resume.midiName.empty()) playMidi(engine, resume.midiName, resume.midiLoop);
    if (!resume.wavName.empty()) playWave(engine, resume.wavName, true);
    if (!resume.mp3Name.empty()) playMp3(engine, resume.mp3Name, true);
}

void playMenuVoice(Engine& engine, std::string_view name) {
    if (name.empty()) return;
    engine.persist.slots.lastVoice = name;
    playVoice(engine, std::string(name));
}

} // namespace orv
