#include "sound/Mixer.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace orv {

namespace {

// Source frames decoded per read, and how far ahead the decoder thread keeps each queue
// (about a fifth of a second: room for a busy moment, short enough for a prompt stop).
constexpr size_t kReadFrames = 1024;
constexpr size_t kQueueAheadFrames = 8192;

} // namespace

Mixer::Mixer(AudioFormat format, bool decoderThread) : format_(format), threaded_(decoderThread) {
    if (threaded_) thread_ = std::thread([this] { decoderLoop(); });
}

Mixer::~Mixer() {
    if (threaded_) {
        {
            std::lock_guard lock(wakeLock_);
            quit_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
}

void Mixer::play(SoundChannel which, std::unique_ptr<SoundSource> source, bool loop) {
    Channel& c = channels_[size_t(which)];
    std::unique_ptr<SoundSource> old;
    {
        std::lock_guard sourceLock(c.sourceLock);
        old = std::move(c.source);
        c.source = std::move(source);
        c.loop = loop;
        c.input.clear();
        c.position = 0;
        {
            std::lock_guard queueLock(c.queueLock);
            c.queue.clear();
            c.queueHead = 0;
        }
        c.ended = false;
        c.mixed = 0;
        c.active = bool(c.source);
        // The old source goes while the lock is held: it may share a synthesizer with the new.
        old.reset();
    }
    if (threaded_ && c.active) wake_.notify_all();
}

bool Mixer::restart(SoundChannel which) {
    Channel& c = channels_[size_t(which)];
    {
        std::lock_guard sourceLock(c.sourceLock);
        if (!c.source) return false;
        c.input.clear();
        c.position = 0;
        {
            std::lock_guard queueLock(c.queueLock);
            c.queue.clear();
            c.queueHead = 0;
        }
        c.ended = !c.source->rewind();
    }
    if (threaded_) wake_.notify_all();
    return !c.ended;
}

void Mixer::setVolume(SoundChannel which, int percent) {
    channels_[size_t(which)].volume = std::clamp(percent, 0, 100);
}

void Mixer::setGain(SoundChannel which, int percent) {
    channels_[size_t(which)].gain = std::clamp(percent, 0, 100);
}

bool Mixer::playing(SoundChannel which) const {
    const Channel& c = channels_[size_t(which)];
    if (!c.active) return false;
    if (!c.ended) return true;
    std::lock_guard queueLock(c.queueLock);
    return c.queueHead < c.queue.size();
}

uint64_t Mixer::framesMixed(SoundChannel which) const {
    return channels_[size_t(which)].mixed;
}

uint64_t Mixer::restarts(SoundChannel which) const {
    return channels_[size_t(which)].restarts;
}

// Reads one block of the source as stereo frames onto the input; false at its end.
bool Mixer::readInput(Channel& c) {
    SoundSource& s = *c.source;
    const size_t channels = size_t(std::max(s.channels(), 1));
    c.decode.resize(kReadFrames * channels);
    size_t got = s.read(c.decode.data(), kReadFrames);
    if (got == 0 && c.loop) {
        // A sound that gives nothing right after starting over would loop for ever on nothing.
        if (s.rewind()) got = s.read(c.decode.data(), kReadFrames);
        if (got == 0) return false;
        ++c.restarts;
    }
    if (got == 0) return false;
    for (size_t i = 0; i < got; ++i) {
        const float* f = &c.decode[i * channels];
        c.input.push_back(f[0]);
        c.input.push_back(channels > 1 ? f[1] : f[0]);
    }
    return true;
}

void Mixer::fill(Channel& c, size_t frames) {
    std::lock_guard sourceLock(c.sourceLock);
    if (!c.source || c.ended) return;
    const size_t outChannels = size_t(format_.channels);
    const double step = double(c.source->rate()) / double(format_.rate);
    std::vector<float> produced;
    auto queued = [&] {
        std::lock_guard queueLock(c.queueLock);
        return (c.queue.size() - c.queueHead) / outChannels;
    };
    size_t have = queued();
    while (have < frames) {
        if (!readInput(c)) {
            c.ended = true;
            break;
        }
        // Linear interpolation between neighbouring input frames; equal rates copy exactly.
        produced.clear();
        const size_t inputFrames = c.input.size() / 2;
        while (true) {
            const auto index = size_t(c.position);
            const double frac = c.position - double(index);
            if (index >= inputFrames || (frac > 0 && index + 1 >= inputFrames)) break;
            float lr[2];
            for (size_t k = 0; k < 2; ++k) {
                const float a = c.input[index * 2 + k];
                const float b = frac > 0 ? c.input[(index + 1) * 2 + k] : a;
                lr[k] = a + float(frac) * (b - a);
            }
            if (outChannels == 1) {
                produced.push_back((lr[0] + lr[1]) * 0.5f);
            } else {
                for (size_t k = 0; k < outChannels; ++k) produced.push_back(k < 2 ? lr[k] : 0.f);
            }
            c.position += step;
        }
        // Keep the frame the next output still leans on.
        const auto consumed = std::min(size_t(c.position), inputFrames);
        c.input.erase(c.input.begin(), c.input.begin() + std::ptrdiff_t(consumed * 2));
        c.position -= double(consumed);
        {
            std::lock_guard queueLock(c.queueLock);
            if (c.queueHead > 0 && c.queueHead * 2 >= c.queue.size()) {
                c.queue.erase(c.queue.begin(), c.queue.begin() + std::ptrdiff_t(c.queueHead));
                c.queueHead = 0;
            }
            c.queue.insert(c.queue.end(), produced.begin(), produced.end());
            have = (c.queue.size() - c.queueHead) / outChannels;
        }
    }
}

void Mixer::mix(int16_t* out, size_t frames) {
    const size_t outChannels = size_t(format_.channels);
    const size_t samples = frames * outChannels;
    mixBuffer_.assign(samples, 0.f);
    for (Channel& c : channels_) {
        if (!c.active) continue;
        if (!threaded_) fill(c, frames);
        const float gain = float(c.volume.load()) * float(c.gain.load()) / 10000.f;
        std::lock_guard queueLock(c.queueLock);
        const size_t n = std::min(samples, c.queue.size() - c.queueHead);
        const float* q = c.queue.data() + c.queueHead;
        for (size_t i = 0; i < n; ++i) mixBuffer_[i] += q[i] * gain;
        c.queueHead += n;
        c.mixed += n / outChannels;
    }
    for (size_t i = 0; i < samples; ++i) {
        const float v = std::clamp(mixBuffer_[i], -1.f, 1.f);
        out[i] = int16_t(std::lrint(v * 32767.f));
    }
    if (threaded_) wake_.notify_all();
}

void Mixer::decoderLoop() {
    std::unique_lock lock(wakeLock_);
    while (!quit_) {
        lock.unlock();
        for (Channel& c : channels_)
            if (c.active) fill(c, kQueueAheadFrames);
        lock.lock();
        wake_.wait_for(lock, std::chrono::milliseconds(10));
    }
}

} // namespace orv
