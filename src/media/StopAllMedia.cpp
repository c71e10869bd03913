#include "media/StopAllMedia.h"

#include "interp/Engine.h"
#include "sound/SoundPlayback.h"
#include "video/VideoPlayback.h"

namespace orv {

void stopAllMedia(Engine& engine) {
    stopAllSound(engine);
    stopVideo(engine);
}

} // namespace orv
