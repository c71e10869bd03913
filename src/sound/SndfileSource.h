// Sounds that libsndfile reads: WAV, OGG, FLAC, AIFF and (Debian's build) MP3.
#pragma once

#include "sound/SoundSource.h"

namespace orv {

// nullptr when libsndfile does not recognise the bytes, with its reason in *error.
std::unique_ptr<SoundSource> openSndfileSource(SoundBytes bytes, std::string* error);

} // namespace orv
