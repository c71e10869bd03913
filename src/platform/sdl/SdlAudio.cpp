#include "platform/sdl/SdlAudio.h"

#include <SDL.h>

namespace orv {

namespace {

class SdlAudio final : public AudioDevice {
public:
    SdlAudio() = default;
    SdlAudio(const SdlAudio&) = delete;
    SdlAudio& operator=(const SdlAudio&) = delete;
    ~SdlAudio() override { close(); }

    bool open(const AudioFormat& wanted, Pull pull, std::string* error) override {
        close();
        auto fail = [&](const char* what) {
            if (error) *error = std::string(what) + ": " + SDL_GetError();
            close();
            return false;
        };
        if (!pull) {
            if (error) *error = "no source to play";
            return false;
        }
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return fail("cannot start SDL audio");
        started_ = true;
        pull_ = std::move(pull);
        SDL_AudioSpec want{};
        want.freq = wanted.rate;
        want.format = AUDIO_S16SYS;
        want.channels = Uint8(wanted.channels);
        want.samples = 1024;
        want.callback = &SdlAudio::callback;
        want.userdata = this;
        SDL_AudioSpec have{};
        // The mixer resamples to whatever rate and channel count the device offers.
        device_ =
            SDL_OpenAudioDevice(nullptr, 0, &want, &have,
                                SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
        if (device_ == 0) return fail("cannot open the sound device");
        format_ = {have.freq, have.channels};
        SDL_PauseAudioDevice(device_, 0);
        return true;
    }

    void close() override {
        // Closing waits for a callback in progress, so the pull is not called afterwards.
        if (device_ != 0) SDL_CloseAudioDevice(device_);
        device_ = 0;
        pull_ = nullptr;
        if (started_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
        started_ = false;
    }

    bool isOpen() const override { return device_ != 0; }
    AudioFormat format() const override { return format_; }

private:
    static void SDLCALL callback(void* self, Uint8* stream, int bytes) {
        auto* audio = static_cast<SdlAudio*>(self);
        const size_t frames = size_t(bytes) / (sizeof(int16_t) * size_t(audio->format_.channels));
        audio->pull_(reinterpret_cast<int16_t*>(stream), frames);
    }

    SDL_AudioDeviceID device_ = 0;
    bool started_ = false;
    AudioFormat format_;
    Pull pull_;
};

} // namespace

std::unique_ptr<AudioDevice> createSdlAudio() {
    return std::make_unique<SdlAudio>();
}

} // namespace orv
