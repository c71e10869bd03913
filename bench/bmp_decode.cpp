// Decoding a full-screen background, the most common load, in the main file forms.
#include "graphics/BmpReader.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace {

void put16(std::string& s, uint32_t v) {
    s += static_cast<char>(v & 0xff);
    s += static_cast<char>((v >> 8) & 0xff);
}
void put32(std::string& s, uint32_t v) {
    put16(s, v & 0xffff);
    put16(s, v >> 16);
}

// A 640x480 picture with a gradient, so run-length data has short runs as real pictures do.
std::string makeBmp(int bits, uint32_t compression) {
    const int w = 640, h = 480;
    std::string pixels;
    if (compression == 1) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; x += 8) {
                pixels += static_cast<char>(8);
                pixels += static_cast<char>((x / 8 + y) & 0xff);
            }
            put16(pixels, 0); // end of line
        }
        put16(pixels, 0x0100); // end of bitmap
    } else {
        const int stride = ((w * bits + 31) / 32) * 4;
        pixels.assign(static_cast<size_t>(stride) * h, '\0');
        for (int y = 0; y < h; ++y)
            for (int i = 0; i < w * bits / 8; ++i)
                pixels[static_cast<size_t>(y) * stride + i] = static_cast<char>((i + y) & 0xff);
    }
    std::string table;
    if (bits == 8)
        for (int i = 0; i < 256; ++i) put32(table, static_cast<uint32_t>(i) * 0x010101);
    std::string file = "BM";
    const uint32_t offset = static_cast<uint32_t>(14 + 40 + table.size());
    put32(file, offset + static_cast<uint32_t>(pixels.size()));
    put32(file, 0);
    put32(file, offset);
    put32(file, 40);
    put32(file, w);
    put32(file, h);
    put16(file, 1);
    put16(file, static_cast<uint32_t>(bits));
    put32(file, compression);
    put32(file, static_cast<uint32_t>(pixels.size()));
    put32(file, 2835);
    put32(file, 2835);
    put32(file, 0);
    put32(file, 0);
    return file + table + pixels;
}

void decode(benchmark::State& state, int bits, uint32_t compression) {
    const std::string file = makeBmp(bits, compression);
    orv::Surface surface;
    for (auto _ : state) {
        if (!orv::readBmpFile(surface, file)) state.SkipWithError("refused");
        benchmark::DoNotOptimize(surface.pixels.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 640 * 480 * 3);
}

void BM_Bmp24(benchmark::State& state) {
    decode(state, 24, 0);
}
void BM_Bmp8(benchmark::State& state) {
    decode(state, 8, 0);
}
void BM_Bmp8Rle(benchmark::State& state) {
    decode(state, 8, 1);
}
void BM_Bmp16(benchmark::State& state) {
    decode(state, 16, 0);
}
void BM_Bmp32(benchmark::State& state) {
    decode(state, 32, 0);
}

} // namespace

BENCHMARK(BM_Bmp24);
BENCHMARK(BM_Bmp8);
BENCHMARK(BM_Bmp8Rle);
BENCHMARK(BM_Bmp16);
BENCHMARK(BM_Bmp32);
