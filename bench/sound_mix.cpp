// The mixer's cost per second of audio with all four channels sounding (one of them stretched
// from 22050 Hz mono), pulled headless-style so the decoding is counted too; and what a `wave`
// costs before it returns to the script (reading the file's bytes into a decoder).
#include "sound/Mixer.h"
#include "sound/SoundDecoders.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

class Tone final : public orv::SoundSource {
public:
    Tone(int rate, int channels) : rate_(rate), channels_(channels) {}
    int rate() const override { return rate_; }
    int channels() const override { return channels_; }
    size_t read(float* out, size_t frames) override {
        for (size_t i = 0; i < frames * size_t(channels_); ++i)
            out[i] = float((phase_++ % 100) - 50) / 200.f;
        return frames;
    }
    bool rewind() override { return true; }

private:
    int rate_, channels_;
    uint32_t phase_ = 0;
};

void BM_MixFourChannelsOneSecond(benchmark::State& state) {
    orv::Mixer mixer({44100, 2}, false);
    mixer.play(orv::SoundChannel::Cd, std::make_unique<Tone>(44100, 2), true);
    mixer.play(orv::SoundChannel::Midi, std::make_unique<Tone>(44100, 2), true);
    mixer.play(orv::SoundChannel::Mp3, std::make_unique<Tone>(44100, 2), true);
    mixer.play(orv::SoundChannel::Wav, std::make_unique<Tone>(22050, 1), true);
    std::vector<int16_t> out(1024 * 2);
    for (auto _ : state) {
        for (int pulls = 0; pulls < 44100 / 1024 + 1; ++pulls) mixer.mix(out.data(), 1024);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetLabel("one iteration = one second of audio; under 10 ms = under 1 % of a core");
}
BENCHMARK(BM_MixFourChannelsOneSecond)->Unit(benchmark::kMillisecond);

void BM_OpenWavOfTwoSeconds(benchmark::State& state) {
    const uint32_t frames = 44100 * 2;
    std::string wav = "RIFF";
    auto le = [&](uint32_t v, int n) {
        for (int i = 0; i < n; ++i) wav.push_back(char((v >> (8 * i)) & 0xFF));
    };
    le(36 + frames * 4, 4);
    wav += "WAVEfmt ";
    le(16, 4);
    le(1, 2);
    le(2, 2);
    le(44100, 4);
    le(44100 * 4, 4);
    le(4, 2);
    le(16, 2);
    wav += "data";
    le(frames * 4, 4);
    wav.append(frames * 4, '\x10');
    for (auto _ : state) {
        std::string error;
        auto source = orv::openSound(
            std::make_shared<const std::string>(wav), [](std::string*) { return nullptr; }, &error);
        benchmark::DoNotOptimize(source.get());
    }
}
BENCHMARK(BM_OpenWavOfTwoSeconds)->Unit(benchmark::kMicrosecond);

} // namespace
