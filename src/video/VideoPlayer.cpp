#include "video/VideoPlayer.h"

#include "interp/Engine.h"
#include "sound/Mixer.h"
#include "video/VideoSound.h"

#include <cstring>

namespace orv {

VideoPlayer::VideoPlayer(std::unique_ptr<VideoFile> file, bool threaded, Mixer* mixer)
    : decoder_(std::move(file), threaded), mixer_(decoder_.file().sound() ? mixer : nullptr) {}

VideoPlayer::~VideoPlayer() {
    if (sounding_) mixer_->stop(SoundChannel::Video);
}

int64_t VideoPlayer::clockMs(Engine& engine) {
    const uint32_t elapsed = engine.platform.ticks() - startTicks_;
    if (sounding_) {
        if (mixer_->playing(SoundChannel::Video)) {
            const int64_t ms = int64_t(mixer_->framesMixed(SoundChannel::Video) * 1000 /
                                       uint64_t(mixer_->format().rate));
            offsetMs_ = ms - int64_t(elapsed);
            return ms;
        }
        // The sound is over: the pictures go on from where it left the clock.
        sounding_ = false;
    }
    return int64_t(elapsed) + offsetMs_;
}

void VideoPlayer::show(Engine& engine) {
    FrameBuffer& window = engine.platform.window();
    if (window.pixels.size() != picture_.pixels.size()) return;
    std::memcpy(window.pixels.data(), picture_.pixels.data(), picture_.pixels.size());
    engine.platform.present({0, 0, kScreenWidth, kScreenHeight});
}

bool VideoPlayer::step(Engine& engine) {
    if (!started_) {
        if (!decoder_.ready()) return false;
        started_ = true;
        startTicks_ = engine.platform.ticks();
        if (mixer_) {
            mixer_->play(SoundChannel::Video, makeVideoSoundSource(decoder_.file().sound()), false);
            sounding_ = true;
        }
    }
    const int64_t now = clockMs(engine);
    if (decoder_.takeDue(now, picture_)) show(engine);
    return decoder_.finished() && now >= decoder_.endMs() && !sounding_;
}

} // namespace orv
