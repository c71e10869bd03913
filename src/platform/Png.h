// PNG files of the window's picture: screenshots on request and at exit, and
// the reference pictures tests compare against.
#pragma once

#include "platform/Platform.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orv {

// A plain picture: rows top-down, pixels red-green-blue, no padding.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    const uint8_t* pixel(int x, int y) const { return rgb.data() + (size_t(y) * width + x) * 3; }
    bool operator==(const RgbImage&) const = default;
};

// The frame turned the right way up and into red-green-blue order.
RgbImage toRgb(const FrameBuffer& frame);

// Writes an 8-bit RGB PNG. On failure returns false with a reason in *error.
bool writePng(const std::string& path, const FrameBuffer& frame, std::string* error = nullptr);
bool writePng(const std::string& path, const RgbImage& image, std::string* error = nullptr);

// Reads any PNG as 8-bit RGB (grey and palette pictures expanded, alpha
// composed onto black); nullopt when the file is missing or not a PNG.
std::optional<RgbImage> readPng(const std::string& path, std::string* error = nullptr);

} // namespace orv
