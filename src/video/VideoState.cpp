#include "video/VideoState.h"

#include "video/VideoPlayer.h"

namespace orv {

VideoState::VideoState() = default;
VideoState::~VideoState() = default;

} // namespace orv
