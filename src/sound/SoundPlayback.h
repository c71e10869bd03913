// The players of the CD track, MIDI, WAV and MP3, as the scenario commands and the other
// subsystems use them. Each keeps the scenario-visible state in SoundState and hands the
// decoded sound to the mixer's channel of its own.
#pragma once

#include <string>

namespace orv {

struct Engine;

void playCdTrack(Engine& engine, int track, bool loop);
void stopCd(Engine& engine);
void playMidi(Engine& engine, const std::string& name, bool loop);
void closeMidi(Engine& engine);
void playWave(Engine& engine, const std::string& name, bool loop);
void stopWave(Engine& engine);
void playMp3(Engine& engine, const std::string& name, bool loop);
void stopMp3(Engine& engine);

// A voice of the click wait, the choices or a menu: the WAV played once; an empty name plays
// nothing.
void playVoice(Engine& engine, const std::string& name);
// Whether a voice the WAV player started still sounds (a silent or undecodable one does not hold
// anything up).
bool voicePlaying(Engine& engine);

// Everything silent, as at every engine start, load, fatal error and shut-down: the fade-out
// forced to 0 meanwhile, the loop flags cleared.
void stopAllSound(Engine& engine);

// On the window's 100 ms timer: the headless device catches up with the clock, a looping MIDI
// that has stopped starts again, a looping CD track that has ended is played again.
void soundTimerTick(Engine& engine);

// Starts loading the sound font in the background, so that the first MIDI file finds the
// synthesizer ready (loading takes longer than a `play` may). A window does so at start; a
// headless run loads it only when a MIDI file plays.
void preloadSoundFont(Engine& engine);

// The mixer, opening the device at the first sound; null when the engine runs silent.
class Mixer;
Mixer* soundMixer(Engine& engine);

// The headless device pulls what has played by now (nothing for a real device).
void catchUpSound(Engine& engine);

} // namespace orv
