#include "sound/SoundCommands.h"

#include "interp/Engine.h"
#include "script/ErrorCaptions.h"
#include "script/ErrorReport.h"
#include "script/TokenReader.h"
#include "sound/SoundPlayback.h"
#include "util/sjis.h"

#include <cstdlib>

namespace orv {

namespace {

// "*n" names CD track n (as atoi reads the rest); anything else is a MIDI file.
void playMusic(Engine& engine, bool loop) {
    const std::string name = readString(engine);
    if (!name.empty() && name[0] == '*') {
        playCdTrack(engine, std::atoi(name.c_str() + 1), loop);
        return;
    }
    playMidi(engine, name, loop);
}

} // namespace

void cmdPlay(Engine& engine) {
    playMusic(engine, true);
}

void cmdPlayonce(Engine& engine) {
    playMusic(engine, false);
}

void cmdStop(Engine& engine) {
    stopCd(engine);
    closeMidi(engine);
    stopWave(engine);
}

void cmdPlaystop(Engine& engine) {
    stopCd(engine);
    closeMidi(engine);
}

void cmdWave(Engine& engine) {
    const std::string name = readString(engine);
    if (name.empty()) {
        stopWave(engine);
        return;
    }
    playWave(engine, name, false);
}

void cmdWaveloop(Engine& engine) {
    playWave(engine, readString(engine), true);
}

void cmdWavestop(Engine& engine) {
    stopWave(engine);
}

void cmdCdfadeout(Engine& engine) {
    engine.sound.cdFadeOutMs = readNumber(engine);
}

void cmdSoundpressplgin(Engine& engine) {
    SoundPluginList& plugins = engine.sound.soundPlugins;
    if (plugins.full())
        reportError(engine, S(caption::kError), S("Sound press plug-in設定が多すぎます。"));
    const std::string registration = readString(engine);
    // The registration is split at its "|"; without one there is no extension to match.
    if (registration.find('|') == std::string::npos)
        reportError(
            engine, S(caption::kError),
            formatMessage(S("Sound press plug-in設定\"%s\"に|がありません。"), registration));
    plugins.add(registration);
}

void cmdMp3(Engine& engine) {
    playMp3(engine, readString(engine), false);
}

void cmdMp3loop(Engine& engine) {
    playMp3(engine, readString(engine), true);
}

void startSoundPass(Engine& engine) {
    SoundState& s = engine.sound;
    s.soundPlugins.clear();
    s.cdFadeOutMs = 1000;
    if (!engine.platform.isHeadless()) preloadSoundFont(engine);
}

} // namespace orv
