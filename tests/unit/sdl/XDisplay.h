// What the SDL tests share: environment overrides, screenshots of the X display and the
// command-line tools they drive it with. The window tests skip themselves without DISPLAY.
#pragma once

#include "platform/Png.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
#define ORVANE_TEST_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORVANE_TEST_SANITIZED 1
#endif
#endif

namespace orv::test {

// Sets (or with nullptr removes) an environment variable for the object's lifetime.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_.c_str(), old_->c_str(), 1);
        else
            unsetenv(name_.c_str());
    }

private:
    std::string name_;
    std::optional<std::string> old_;
};

using Rgb = std::array<int, 3>;

// A screenshot of the whole X display.
struct Shot {
    RgbImage image;
    int width() const { return image.width; }
    int height() const { return image.height; }
    // (-1, -1, -1) off the picture, so a failed screenshot fails the checks.
    Rgb at(int x, int y) const {
        if (x < 0 || y < 0 || x >= image.width || y >= image.height) return {-1, -1, -1};
        const uint8_t* p = image.pixel(x, y);
        return {p[0], p[1], p[2]};
    }
    // Pixels clearly darker than the grey furniture: label ink and check marks.
    int dark(int x, int y, int w, int h) const {
        int n = 0;
        for (int py = y; py < y + h; ++py)
            for (int px = x; px < x + w; ++px) {
                const Rgb c = at(px, py);
                n += c[0] >= 0 && c[0] < 0x60 && c[1] < 0x60 && c[2] < 0x60;
            }
        return n;
    }
};

inline bool runTool(const std::string& cmd) {
    return std::system((cmd + " 2>/dev/null").c_str()) == 0;
}

inline std::optional<Shot> screenshot(const std::filesystem::path& file) {
    if (!runTool("/usr/bin/import -window root '" + file.string() + "'")) return std::nullopt;
    std::optional<RgbImage> image = readPng(file.string());
    if (!image) return std::nullopt;
    return Shot{std::move(*image)};
}

// Skips the current test unless an X display and the screenshot tool are there.
#define ORVANE_REQUIRE_X_DISPLAY()                                                                 \
    do {                                                                                           \
        const char* display = std::getenv("DISPLAY");                                              \
        if (!display || !*display) GTEST_SKIP() << "DISPLAY not set; run under xvfb-run";          \
        if (!std::filesystem::exists("/usr/bin/import"))                                           \
            GTEST_SKIP() << "/usr/bin/import (ImageMagick) absent";                                \
    } while (0)

} // namespace orv::test
