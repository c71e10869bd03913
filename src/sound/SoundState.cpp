#include "sound/SoundState.h"

#include "platform/AudioDevice.h"
#include "sound/MidiSource.h"
#include "sound/Mixer.h"
#include "sound/SoundLog.h"

namespace orv {

SoundState::SoundState() = default;

SoundState::~SoundState() {
    if (synthLoading.valid()) synthLoading.wait();
    // The device stops pulling before the mixer it pulls from goes.
    if (device) device->close();
    device.reset();
    pullTarget = nullptr;
    mixer.reset();
}

} // namespace orv
