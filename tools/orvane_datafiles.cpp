// Writes the files an installation carries besides the program: the manual page, made from the
// same option table as --help, and the 256x256 icon, drawn here (a lamp in the rain at a
// station at night, as the demo game begins).
//
//   orvane_datafiles MAN_FILE ICON_FILE
#include "app/Options.h"
#include "platform/Png.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>

namespace {

constexpr int kSize = 256;

struct Colour {
    double r, g, b;
};

Colour mix(Colour a, Colour b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour iconPixel(int x, int y) {
    const double fx = x + 0.5;
    const double fy = y + 0.5;
    // The night sky, lighter towards the platform.
    Colour c = mix({18, 24, 56}, {58, 70, 112}, fy / kSize);
    // The platform's edge and its roof post.
    if (fy > 200) c = mix({40, 40, 48}, {24, 24, 30}, (fy - 200) / 56);
    if (fx > 120 && fx < 132 && fy > 96 && fy < 200) c = {30, 30, 36};
    // The lamp's glow and its globe.
    const double d = std::hypot(fx - 126, fy - 84);
    c = mix(c, {255, 214, 120}, std::max(0.0, 1.0 - d / 90) * 0.8);
    if (d < 18) c = mix({255, 246, 210}, {255, 200, 90}, d / 18);
    // Slanted rain: thin streaks every few pixels, brighter near the lamp.
    const int streak = (x * 3 + y) % 23;
    if (streak == 0 && (y / 9 + x / 5) % 3 != 0)
        c = mix(c, {200, 215, 240}, 0.55 + 0.4 * std::max(0.0, 1.0 - d / 120));
    // A rounded frame so the icon reads on any panel.
    const double edge = std::max(std::abs(fx - 128), std::abs(fy - 128));
    if (edge > 122) c = {12, 14, 30};
    return c;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: orvane_datafiles MAN_FILE ICON_FILE\n";
        return 1;
    }
    std::ofstream man(argv[1], std::ios::binary);
    man << orv::manPage();
    if (!man.flush()) {
        std::cerr << "orvane_datafiles: cannot write " << argv[1] << "\n";
        return 1;
    }
    orv::RgbImage icon;
    icon.width = kSize;
    icon.height = kSize;
    icon.rgb.resize(size_t(kSize) * kSize * 3);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const Colour c = iconPixel(x, y);
            uint8_t* p = icon.rgb.data() + (size_t(y) * kSize + x) * 3;
            p[0] = uint8_t(std::lround(std::clamp(c.r, 0.0, 255.0)));
            p[1] = uint8_t(std::lround(std::clamp(c.g, 0.0, 255.0)));
            p[2] = uint8_t(std::lround(std::clamp(c.b, 0.0, 255.0)));
        }
    std::string error;
    if (!orv::writePng(argv[2], icon, &error)) {
        std::cerr << "orvane_datafiles: cannot write " << argv[2] << ": " << error << "\n";
        return 1;
    }
    return 0;
}
