// The sound device for people: SDL's default output, pulled on SDL's audio thread.
#pragma once

#include "platform/AudioDevice.h"

#include <memory>

namespace orv {

std::unique_ptr<AudioDevice> createSdlAudio();

} // namespace orv
