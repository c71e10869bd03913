// Small sound files made by the tests: a WAV of a steady tone, a MIDI file of one note, and an
// MP3 encoded at test time (libsndfile writes MP3 through the encoder Debian builds it with).
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sndfile.h>
#include <string>
#include <vector>

namespace orv::test {

inline void putLe(std::string& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(char((v >> (8 * i)) & 0xFF));
}

// 16-bit PCM; every sample of every channel is `value` (a square "tone" that is easy to sum).
inline std::string wavBytes(int ms, int rate = 22050, int channels = 1, int16_t value = 8000) {
    const uint32_t frames = uint32_t(rate) * uint32_t(ms) / 1000;
    const uint32_t dataBytes = frames * uint32_t(channels) * 2;
    std::string out = "RIFF";
    putLe(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    putLe(out, 16, 4);
    putLe(out, 1, 2);
    putLe(out, uint32_t(channels), 2);
    putLe(out, uint32_t(rate), 4);
    putLe(out, uint32_t(rate * channels * 2), 4);
    putLe(out, uint32_t(channels * 2), 2);
    putLe(out, 16, 2);
    out += "data";
    putLe(out, dataBytes, 4);
    for (uint32_t i = 0; i < frames * uint32_t(channels); ++i) putLe(out, uint16_t(value), 2);
    return out;
}

// One middle C held for `ms` (at the default 120 beats a minute, 96 ticks a beat).
inline std::string midiBytes(int ms) {
    auto vlq = [](uint32_t v) {
        std::string s(1, char(v & 0x7F));
        while (v >>= 7) s.insert(s.begin(), char(0x80 | (v & 0x7F)));
        return s;
    };
    const uint32_t ticks = uint32_t(ms) * 96 / 500;
    std::string track = vlq(0) + "\x90\x3C\x64" + vlq(ticks) + std::string("\x80\x3C\x00", 3) +
                        vlq(0) + std::string("\xFF\x2F\x00", 3);
    std::string out = "MThd";
    out += std::string("\0\0\0\x06\0\0\0\x01\0\x60", 10);
    out += "MTrk";
    for (int i = 3; i >= 0; --i) out.push_back(char((track.size() >> (8 * i)) & 0xFF));
    return out + track;
}

// A 440 Hz sine of `ms` as MP3; empty when this libsndfile cannot write MP3.
inline std::string mp3Bytes(int ms, const std::filesystem::path& scratch) {
    SF_INFO info{};
    info.samplerate = 22050;
    info.channels = 1;
    info.format = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
    SNDFILE* f = sf_open(scratch.c_str(), SFM_WRITE, &info);
    if (!f) return {};
    std::vector<float> samples(size_t(22050 * ms / 1000));
    for (size_t k = 0; k < samples.size(); ++k)
        samples[k] = 0.5f * float(std::sin(2 * M_PI * 440 * double(k) / 22050));
    sf_writef_float(f, samples.data(), sf_count_t(samples.size()));
    sf_close(f);
    std::ifstream in(scratch, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace orv::test
