// MP3 through libmpg123, decoded block by block as the mixer asks for more.
#pragma once

#include "sound/SoundSource.h"

namespace orv {

// nullptr when no MPEG audio frame can be decoded from the bytes, with the reason in *error.
std::unique_ptr<SoundSource> openMp3Source(SoundBytes bytes, std::string* error);

} // namespace orv
