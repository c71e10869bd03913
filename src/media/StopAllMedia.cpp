#include "media/StopAllMedia.h"

#include "interp/Engine.h"

namespace orv {

// Nothing plays yet: the sound and video players join this sequence as they
// arrive (CD fade-out forced to 0, loop flags cleared, CD, MIDI, WAV and MP3
// stopped, the video closed and its temporary file deleted).
void stopAllMedia(Engine&) {}

} // namespace orv
