#include "media/StopAllMedia.h"

#include "interp/Engine.h"
#include "sound/SoundPlayback.h"

namespace orv {

// The video joins this sequence when it plays (closed, its temporary file deleted).
void stopAllMedia(Engine& engine) {
    stopAllSound(engine);
}

} // namespace orv
