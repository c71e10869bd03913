// Generates the bundled demo game: its pictures, drawn here procedurally, and its scenario,
// converted from the UTF-8 source in the repository to the Shift-JIS the engine reads.
//
//   demo_assets SCENARIO.txt OUTPUT_DIR
//
// Everything is deterministic (own random generator, no platform fonts), so the demo looks the
// same on every machine and the scenario tests can rely on it.
#include "VideoWriter.h"
#include "util/sjis.h"

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// ---------------------------------------------------------------------------------------------
// Colours, images and the BMP writer

struct Color {
    float r = 0, g = 0, b = 0;
};

Color rgb(uint32_t hex) {
    return {float((hex >> 16) & 0xFF) / 255.f, float((hex >> 8) & 0xFF) / 255.f,
            float(hex & 0xFF) / 255.f};
}

Color mix(Color a, Color b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Color scale(Color a, float k) {
    return {a.r * k, a.g * k, a.b * k};
}

float clamp01(float v) {
    return std::clamp(v, 0.f, 1.f);
}

float smoothstep(float e0, float e1, float x) {
    float t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

// Straight (not premultiplied) colour with coverage; backgrounds keep coverage 1 everywhere.
struct Image {
    int w = 0, h = 0;
    std::vector<Color> px;
    std::vector<float> alpha;

    Image(int width, int height, float a)
        : w(width), h(height), px(size_t(w * h)), alpha(px.size(), a) {}

    Color& at(int x, int y) { return px[size_t(y * w + x)]; }
    float& alphaAt(int x, int y) { return alpha[size_t(y * w + x)]; }

    // Porter-Duff "over" of colour c with coverage a onto the pixel.
    void blend(int x, int y, Color c, float a) {
        if (a <= 0) return;
        float& da = alphaAt(x, y);
        Color& d = at(x, y);
        float out = a + da * (1 - a);
        if (out <= 0) return;
        float kd = da * (1 - a) / out, ks = a / out;
        d = {c.r * ks + d.r * kd, c.g * ks + d.g * kd, c.b * ks + d.b * kd};
        da = out;
    }

    // Light added on top (lamps, glows); keeps coverage.
    void add(int x, int y, Color c, float k) {
        Color& d = at(x, y);
        d = {d.r + c.r * k, d.g + c.g * k, d.b + c.b * k};
    }
};

uint8_t toByte(float v) {
    return uint8_t(std::lround(clamp01(v) * 255.f));
}

void put16(std::string& s, uint16_t v) {
    s += char(v & 0xFF);
    s += char(v >> 8);
}

void put32(std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i) s += char((v >> (8 * i)) & 0xFF);
}

// 24-bit, bottom-up rows padded to four bytes, the plain Windows 40-byte header form.
// pixel(x, y) gives blue, green, red for row y counted from the top.
void writeBmp(const fs::path& path, int w, int h,
              const std::function<void(int, int, uint8_t*)>& pixel) {
    uint32_t stride = (uint32_t(w) * 3 + 3) & ~3u;
    uint32_t imageBytes = stride * uint32_t(h);
    std::string out;
    out += "BM";
    put32(out, 14 + 40 + imageBytes);
    put32(out, 0);
    put32(out, 14 + 40);
    put32(out, 40);
    put32(out, uint32_t(w));
    put32(out, uint32_t(h));
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, imageBytes);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    std::string row(stride, '\0');
    for (int y = h - 1; y >= 0; --y) {
        std::fill(row.begin(), row.end(), '\0');
        for (int x = 0; x < w; ++x) pixel(x, y, reinterpret_cast<uint8_t*>(&row[size_t(x) * 3]));
        out += row;
    }
    std::ofstream file(path, std::ios::binary);
    file.write(out.data(), std::streamsize(out.size()));
    if (!file) throw std::runtime_error("cannot write " + path.string());
}

// A tiny ordered dither keeps the long sky gradients free of visible bands.
float dither(int x, int y) {
    static const int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return (float(kBayer[y & 3][x & 3]) / 16.f - 0.47f) / 255.f;
}

void writeOpaque(const fs::path& path, Image& img) {
    writeBmp(path, img.w, img.h, [&](int x, int y, uint8_t* p) {
        Color c = img.at(x, y);
        float d = dither(x, y);
        p[0] = toByte(c.b + d);
        p[1] = toByte(c.g + d);
        p[2] = toByte(c.r + d);
    });
}

// The engine's leftup transparency keys out every pixel equal to the top-left one, so edges are
// hard: a pixel is either the figure or the key. A one-pixel dark outline hides the stair steps.
const Color kKey = {1, 0, 1};

void writeLeftup(const fs::path& path, Image& img, Color outline) {
    std::vector<uint8_t> inside(img.px.size());
    for (size_t i = 0; i < inside.size(); ++i) inside[i] = img.alpha[i] >= 0.5f;
    auto in = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < img.w && y < img.h && inside[size_t(y * img.w + x)];
    };
    writeBmp(path, img.w, img.h, [&](int x, int y, uint8_t* p) {
        bool corner = x == 0 && y == 0; // holds the key whatever is drawn there
        bool edge = false;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) edge = edge || in(x + dx, y + dy);
        if (corner || !edge) {
            p[0] = toByte(kKey.b);
            p[1] = toByte(kKey.g);
            p[2] = toByte(kKey.r);
            return;
        }
        Color c = in(x, y) ? img.at(x, y) : outline;
        p[0] = toByte(c.b);
        p[1] = toByte(c.g);
        p[2] = toByte(c.r);
        // A figure pixel that happens to equal the key would vanish: nudge it.
        if (p[0] == 255 && p[1] == 0 && p[2] == 255) p[1] = 1;
    });
}

// The alpha form: the picture on the left half, its mask on the right (black = opaque).
void writeAlpha(const fs::path& path, Image& img) {
    writeBmp(path, img.w * 2, img.h, [&](int x, int y, uint8_t* p) {
        if (x < img.w) {
            Color c = img.at(x, y);
            p[0] = toByte(c.b);
            p[1] = toByte(c.g);
            p[2] = toByte(c.r);
        } else {
            uint8_t m = uint8_t(255 - toByte(img.alphaAt(x - img.w, y)));
            p[0] = p[1] = p[2] = m;
        }
    });
}

// ---------------------------------------------------------------------------------------------
// Shapes, filled with 4 x 4 samples per pixel so their edges are smooth

struct Box {
    float x0, y0, x1, y1;
};

using Inside = std::function<bool(float, float)>;
using Shader = std::function<Color(float, float)>;

void fill(Image& img, Box box, const Inside& inside, const Shader& shade, float opacity = 1) {
    int x0 = std::max(0, int(std::floor(box.x0))), y0 = std::max(0, int(std::floor(box.y0)));
    int x1 = std::min(img.w - 1, int(std::ceil(box.x1))),
        y1 = std::min(img.h - 1, int(std::ceil(box.y1)));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    hits += inside(float(x) + (float(sx) + 0.5f) / 4,
                                   float(y) + (float(sy) + 0.5f) / 4);
            if (hits)
                img.blend(x, y, shade(float(x) + 0.5f, float(y) + 0.5f),
                          opacity * float(hits) / 16.f);
        }
    }
}

void fill(Image& img, Box box, const Inside& inside, Color c, float opacity = 1) {
    fill(
        img, box, inside, [c](float, float) { return c; }, opacity);
}

// A colour that brightens towards the top of the shape: the light comes from above.
Shader vertical(Color top, Color bottom, float y0, float y1) {
    return [=](float, float y) { return mix(top, bottom, clamp01((y - y0) / (y1 - y0))); };
}

struct Shape {
    Box box;
    Inside inside;
};

Shape ellipse(float cx, float cy, float rx, float ry) {
    return {{cx - rx, cy - ry, cx + rx, cy + ry}, [=](float x, float y) {
                float dx = (x - cx) / rx, dy = (y - cy) / ry;
                return dx * dx + dy * dy <= 1;
            }};
}

Shape circle(float cx, float cy, float r) {
    return ellipse(cx, cy, r, r);
}

Shape roundRect(float x0, float y0, float x1, float y1, float r) {
    return {{x0, y0, x1, y1}, [=](float x, float y) {
                if (x < x0 || x > x1 || y < y0 || y > y1) return false;
                float cx = std::clamp(x, x0 + r, x1 - r), cy = std::clamp(y, y0 + r, y1 - r);
                return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
            }};
}

Shape rect(float x0, float y0, float x1, float y1) {
    return {{x0, y0, x1, y1},
            [=](float x, float y) { return x >= x0 && x < x1 && y >= y0 && y < y1; }};
}

// A segment with round ends: limbs, umbrella shafts, rain, wires.
Shape capsule(float ax, float ay, float bx, float by, float r) {
    return {
        {std::min(ax, bx) - r, std::min(ay, by) - r, std::max(ax, bx) + r, std::max(ay, by) + r},
        [=](float x, float y) {
            float vx = bx - ax, vy = by - ay;
            float len2 = vx * vx + vy * vy;
            float t = len2 > 0 ? clamp01(((x - ax) * vx + (y - ay) * vy) / len2) : 0;
            float dx = x - ax - t * vx, dy = y - ay - t * vy;
            return dx * dx + dy * dy <= r * r;
        }};
}

struct Pt {
    float x, y;
};

Shape polygon(std::vector<Pt> pts) {
    Box b{1e9f, 1e9f, -1e9f, -1e9f};
    for (Pt p : pts) {
        b.x0 = std::min(b.x0, p.x);
        b.y0 = std::min(b.y0, p.y);
        b.x1 = std::max(b.x1, p.x);
        b.y1 = std::max(b.y1, p.y);
    }
    return {b, [pts](float x, float y) {
                bool in = false;
                for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
                    if ((pts[i].y > y) != (pts[j].y > y) &&
                        x < (pts[j].x - pts[i].x) * (y - pts[i].y) / (pts[j].y - pts[i].y) +
                                pts[i].x)
                        in = !in;
                }
                return in;
            }};
}

void draw(Image& img, const Shape& s, Color c, float opacity = 1) {
    fill(img, s.box, s.inside, c, opacity);
}

void draw(Image& img, const Shape& s, const Shader& shade, float opacity = 1) {
    fill(img, s.box, s.inside, shade, opacity);
}

// A soft round light: adds colour falling off as a Gaussian of the distance.
void glow(Image& img, float cx, float cy, float radius, Color c, float strength) {
    int r = int(radius * 3);
    for (int y = std::max(0, int(cy) - r); y < std::min(img.h, int(cy) + r); ++y)
        for (int x = std::max(0, int(cx) - r); x < std::min(img.w, int(cx) + r); ++x) {
            float dx = float(x) + 0.5f - cx, dy = float(y) + 0.5f - cy;
            img.add(x, y, c, strength * std::exp(-(dx * dx + dy * dy) / (radius * radius)));
        }
}

// ---------------------------------------------------------------------------------------------
// Noise and randomness, our own so the pictures never change with the library

struct Rng {
    uint64_t state;
    explicit Rng(uint64_t seed) : state(seed * 6364136223846793005ull + 1442695040888963407ull) {}
    uint32_t next() {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return uint32_t(state >> 33);
    }
    float uniform() { return float(next() & 0xFFFFFF) / float(0x1000000); }
    float range(float a, float b) { return a + (b - a) * uniform(); }
};

float hash2(int x, int y, uint32_t seed) {
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return float((h ^ (h >> 16)) & 0xFFFF) / 65535.f;
}

float valueNoise(float x, float y, uint32_t seed) {
    int xi = int(std::floor(x)), yi = int(std::floor(y));
    float fx = x - float(xi), fy = y - float(yi);
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    float a = hash2(xi, yi, seed), b = hash2(xi + 1, yi, seed);
    float c = hash2(xi, yi + 1, seed), d = hash2(xi + 1, yi + 1, seed);
    return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

float fbm(float x, float y, uint32_t seed) {
    float sum = 0, amp = 0.5f;
    for (int i = 0; i < 4; ++i) {
        sum += amp * valueNoise(x, y, seed + uint32_t(i));
        x *= 2.03f;
        y *= 2.03f;
        amp *= 0.5f;
    }
    return sum;
}

// ---------------------------------------------------------------------------------------------
// Backgrounds

constexpr int kW = 640, kH = 480;

void skyGradient(Image& img, const std::vector<std::pair<float, Color>>& stops) {
    for (int y = 0; y < img.h; ++y) {
        float t = float(y) / float(img.h - 1);
        Color c = stops.back().second;
        for (size_t i = 0; i + 1 < stops.size(); ++i) {
            if (t >= stops[i].first && t <= stops[i + 1].first) {
                float k = (t - stops[i].first) / (stops[i + 1].first - stops[i].first);
                c = mix(stops[i].second, stops[i + 1].second, smoothstep(0, 1, k));
                break;
            }
        }
        for (int x = 0; x < img.w; ++x) img.at(x, y) = c;
    }
}

// Soft bands of cloud over the upper sky.
void clouds(Image& img, float top, float bottom, Color tint, float amount, uint32_t seed) {
    for (int y = int(top); y < int(bottom); ++y) {
        float fade =
            smoothstep(top, top + 40, float(y)) * (1 - smoothstep(bottom - 60, bottom, float(y)));
        for (int x = 0; x < img.w; ++x) {
            float n = fbm(float(x) / 150.f, float(y) / 45.f, seed);
            float k = smoothstep(0.42f, 0.75f, n) * fade * amount;
            img.at(x, y) = mix(img.at(x, y), tint, k);
        }
    }
}

void rain(Image& img, int count, float y0, float y1, Color c, float opacity, uint32_t seed) {
    Rng rng(seed);
    for (int i = 0; i < count; ++i) {
        float x = rng.range(-40, float(img.w));
        float y = rng.range(y0 - 30, y1);
        float len = rng.range(14, 34);
        float a = opacity * rng.range(0.35f, 1.f);
        draw(img, capsule(x, y, x + len * 0.22f, y + len, 0.55f), c, a);
    }
}

void stars(Image& img, int count, float maxY, uint32_t seed) {
    Rng rng(seed);
    for (int i = 0; i < count; ++i) {
        float x = rng.range(0, float(img.w)), y = rng.range(0, maxY);
        float k = rng.range(0.25f, 1.f) * (1 - y / maxY);
        glow(img, x, y, rng.range(0.6f, 1.3f), rgb(0xFFF6E0), k);
    }
}

// The distant town along the horizon: block silhouettes with a few lit windows.
void skyline(Image& img, float baseY, Color body, Color window, float lit, uint32_t seed) {
    Rng rng(seed);
    for (float x = -10; x < float(img.w);) {
        float bw = rng.range(28, 70), bh = rng.range(18, 70);
        draw(img, rect(x, baseY - bh, x + bw, baseY + 2), body);
        for (float wy = baseY - bh + 6; wy < baseY - 6; wy += 9)
            for (float wx = x + 5; wx < x + bw - 6; wx += 8)
                if (rng.uniform() < lit)
                    draw(img, rect(wx, wy, wx + 3, wy + 4), window, rng.range(0.5f, 0.95f));
        x += bw + rng.range(-6, 4);
    }
}

// A station platform under a canopy, seen from the platform. `rainy` adds the shower and wet
// reflections; otherwise the sky has cleared to a starry night.
Image station(bool rainy) {
    Image img(kW, kH, 1);
    if (rainy) {
        skyGradient(img, {{0.f, rgb(0x2B2F4E)},
                          {0.35f, rgb(0x5B4E74)},
                          {0.55f, rgb(0xB87A7E)},
                          {0.68f, rgb(0xE8A27A)},
                          {1.f, rgb(0xE8A27A)}});
        clouds(img, 0, 300, rgb(0x3A3552), 0.75f, 11);
    } else {
        skyGradient(img, {{0.f, rgb(0x0B1030)},
                          {0.4f, rgb(0x1D2A5A)},
                          {0.62f, rgb(0x3C4D86)},
                          {1.f, rgb(0x3C4D86)}});
        stars(img, 160, 260, 5);
        glow(img, 462, 202, 44, rgb(0x6070B0), 0.2f);
        draw(img, circle(465, 200, 17), rgb(0xFFF4D8));
        draw(img, circle(473, 194, 15), rgb(0x1E2B5C), 0.95f); // the shadowed part: a crescent
        clouds(img, 120, 300, rgb(0x2A3668), 0.35f, 12);
    }
    Color dark = rainy ? rgb(0x231F33) : rgb(0x0E1024);
    Color townWindow = rgb(0xFFD9A0);
    skyline(img, 312, mix(dark, rgb(0x6A5A7A), 0.35f), townWindow, 0.25f, 3);

    // Overhead wires and their masts beyond the platform.
    for (float mx : {90.f, 370.f, 610.f}) draw(img, rect(mx, 205, mx + 5, 312), dark);
    draw(img, capsule(0, 222, 640, 214, 0.8f), dark);
    draw(img, capsule(0, 232, 640, 226, 0.6f), dark, 0.8f);

    // Rails and the track bed.
    draw(img, rect(0, 312, 640, 352), mix(dark, rgb(0x3A3446), 0.5f));
    for (float ry : {322.f, 338.f}) draw(img, rect(0, ry, 640, ry + 2.5f), rgb(0x8C8496), 0.7f);

    // The platform: its edge with the yellow safety line, then the floor coming towards us.
    draw(img, rect(0, 352, 640, 480), vertical(rgb(0x4A4456), rgb(0x2A2634), 352, 480));
    draw(img, rect(0, 352, 640, 357), rgb(0xC8B070));
    for (float x = 0; x < 640; x += 12) draw(img, rect(x, 362, x + 7, 366), rgb(0xD8C060), 0.8f);
    if (rainy) {
        // Puddles catch the warm horizon and the lamps.
        for (int y = 372; y < 480; ++y)
            for (int x = 0; x < kW; ++x) {
                float n = fbm(float(x) / 90.f, float(y) / 14.f, 21);
                float k = smoothstep(0.5f, 0.62f, n) * 0.45f;
                img.at(x, y) = mix(img.at(x, y), rgb(0xB08080), k);
            }
    }

    // The canopy: a dark roof sloping over the top, pillars and hanging lamps.
    draw(img, polygon({{0, 0}, {640, 0}, {640, 70}, {0, 110}}),
         vertical(rgb(0x2E2838), dark, 0, 110));
    draw(img, polygon({{0, 104}, {640, 64}, {640, 74}, {0, 116}}), rgb(0x5A5068));
    for (float px : {40.f, 300.f, 560.f}) {
        float top = 110 - px / 640.f * 40.f;
        draw(img, rect(px, top, px + 16, 470), vertical(rgb(0x4A4258), dark, top, 470));
        draw(img, rect(px + 2, top, px + 5, 470), rgb(0x7A7090), 0.5f);
    }
    // The station name board between two pillars (no letters: it is read from the story).
    draw(img, roundRect(360, 118, 520, 150, 3), rgb(0xF0EEE6));
    draw(img, rect(360, 140, 520, 144), rgb(0x3B7A57));
    draw(img, capsule(380, 100, 380, 118, 1.2f), dark);
    draw(img, capsule(500, 95, 500, 118, 1.2f), dark);
    for (float lx : {120.f, 220.f}) {
        float top = 110 - lx / 640.f * 40.f;
        draw(img, capsule(lx, top, lx, top + 40, 1.2f), dark);
        draw(img, roundRect(lx - 14, top + 40, lx + 14, top + 50, 3), rgb(0xFFF1CF));
        glow(img, lx, top + 48, 60, rgb(0xFFC880), rainy ? 0.35f : 0.28f);
        glow(img, lx, 430, 30, rgb(0xFFC880), 0.12f); // its reflection on the wet floor
    }
    if (rainy) rain(img, 420, 0, 480, rgb(0xDDE6FF), 0.35f, 7);
    return img;
}

// A shopping street at night in the rain, lamps and shop windows mirrored in the road.
Image street() {
    Image img(kW, kH, 1);
    skyGradient(img, {{0.f, rgb(0x141A33)}, {0.45f, rgb(0x2C3560)}, {1.f, rgb(0x2C3560)}});
    clouds(img, 0, 200, rgb(0x3B4470), 0.5f, 31);
    Rng rng(41);
    struct Lamp {
        float x, y;
        Color c;
    };
    std::vector<Lamp> lights;
    // Buildings on both sides, taller towards the edges as the street runs away from us.
    for (float x = -20; x < 660;) {
        float bw = rng.range(70, 120);
        float centre = std::abs(x + bw / 2 - 320) / 320;
        float top = 250 - centre * 220 + rng.range(-20, 20);
        Color body = mix(rgb(0x1B1C30), rgb(0x2A2840), rng.uniform());
        draw(img, rect(x, top, x + bw, 330), body);
        for (float wy = top + 12; wy < 300; wy += 22)
            for (float wx = x + 10; wx < x + bw - 16; wx += 20)
                if (rng.uniform() < 0.45f) {
                    Color wc = mix(rgb(0xFFD89A), rgb(0xA8D0FF), rng.uniform() < 0.3f ? 1.f : 0.f);
                    draw(img, rect(wx, wy, wx + 10, wy + 12), wc, 0.85f);
                }
        // A lit shop front at street level.
        if (rng.uniform() < 0.7f) {
            Color shop = rng.uniform() < 0.5f ? rgb(0xFFC27A) : rgb(0xFF9A8A);
            draw(img, rect(x + 8, 300, x + bw - 8, 330), shop, 0.8f);
            draw(img, rect(x + 4, 292, x + bw - 4, 300), mix(body, shop, 0.4f));
            lights.push_back({x + bw / 2, 315, shop});
        }
        x += bw + rng.range(0, 8);
    }
    // Road and pavement.
    draw(img, rect(0, 330, 640, 480), vertical(rgb(0x262A40), rgb(0x14162A), 330, 480));
    draw(img, polygon({{0, 330}, {240, 330}, {0, 420}}), rgb(0x34354C));
    draw(img, polygon({{400, 330}, {640, 330}, {640, 420}}), rgb(0x34354C));
    for (float y = 360; y < 480; y += 40)
        draw(img,
             polygon({{318, y},
                      {322, y},
                      {324 + (y - 330) * 0.05f, y + 22},
                      {316 - (y - 330) * 0.05f, y + 22}}),
             rgb(0xBFBFC8), 0.5f);
    // Street lamps.
    for (float lx : {70.f, 570.f}) {
        draw(img, rect(lx - 3, 170, lx + 3, 400), rgb(0x151625));
        draw(img, capsule(lx, 172, lx + (lx < 320 ? 30 : -30), 172, 3), rgb(0x151625));
        float hx = lx + (lx < 320 ? 30 : -30);
        draw(img, ellipse(hx, 180, 12, 6), rgb(0xFFF3D6));
        glow(img, hx, 185, 55, rgb(0xFFD9A0), 0.45f);
        lights.push_back({hx, 180, rgb(0xFFE2B0)});
    }
    for (const Lamp& l : lights) glow(img, l.x, l.y, 26, l.c, 0.22f);
    // Reflections: each light smeared downwards on the wet road.
    for (const Lamp& l : lights) {
        float mirror = 330 + (330 - l.y) * 0.35f + 20;
        for (int y = 332; y < 480; ++y) {
            float dy = (float(y) - mirror) / 70.f;
            float k = std::exp(-dy * dy) * 0.22f;
            for (int x = int(l.x) - 14; x <= int(l.x) + 14; ++x) {
                if (x < 0 || x >= kW) continue;
                float dx = (float(x) - l.x) / 8.f;
                float ripple = 0.6f + 0.4f * std::sin(float(y) * 0.9f + float(x) * 0.1f);
                img.add(x, y, l.c, k * std::exp(-dx * dx) * ripple);
            }
        }
    }
    rain(img, 520, 0, 480, rgb(0xD0DAF5), 0.32f, 17);
    return img;
}

// The small café by the station: warm wall, a big window onto the rain, a hanging lamp.
Image cafe() {
    Image img(kW, kH, 1);
    skyGradient(img, {{0.f, rgb(0x6B4A3A)}, {0.5f, rgb(0xB88A66)}, {1.f, rgb(0x9A6E50)}});
    // The window: night outside, blurred lights and rain on the glass.
    Image outside(300, 200, 1);
    skyGradient(outside, {{0.f, rgb(0x1A2244)}, {1.f, rgb(0x34406C)}});
    Rng rng(61);
    for (int i = 0; i < 28; ++i) {
        float x = rng.range(0, 300), y = rng.range(90, 200);
        Color c = rng.uniform() < 0.5f ? rgb(0xFFC98A) : rgb(0xFF8F7A);
        draw(outside, circle(x, y, rng.range(5, 12)), c, rng.range(0.25f, 0.5f));
    }
    rain(outside, 160, 0, 200, rgb(0xC8D4F0), 0.35f, 63);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 240; ++x) img.at(38 + x, 70 + y) = outside.at(x, y);
    for (int i = 0; i < 32; ++i) { // drops on the glass
        float x = rng.range(42, 274), y = rng.range(74, 266);
        draw(img, circle(x, y, rng.range(1.2f, 2.6f)), rgb(0xAFC2E8), 0.55f);
    }
    Color frame = rgb(0x4A2E22);
    draw(img, rect(30, 62, 286, 70), frame);
    draw(img, rect(30, 270, 286, 282), frame);
    draw(img, rect(30, 62, 38, 282), frame);
    draw(img, rect(278, 62, 286, 282), frame);
    draw(img, rect(155, 70, 161, 270), frame);
    // Shelves with cups on the right wall.
    for (float sy : {120.f, 190.f}) {
        draw(img, rect(430, sy, 610, sy + 7), frame);
        for (float cx = 445; cx < 600; cx += 34) {
            draw(img, roundRect(cx, sy - 18, cx + 18, sy, 3), rgb(0xF2E8D8));
            draw(img, rect(cx + 3, sy - 14, cx + 15, sy - 11), rgb(0x7FA7A0), 0.7f);
        }
    }
    // Wainscot and floor.
    draw(img, rect(0, 300, 640, 360), vertical(rgb(0x6A4030), rgb(0x4E2E22), 300, 360));
    for (float x = 0; x < 640; x += 40) draw(img, rect(x, 300, x + 2, 360), rgb(0x3E2418), 0.6f);
    draw(img, rect(0, 360, 640, 480), vertical(rgb(0x5A3A2A), rgb(0x2E1C14), 360, 480));
    for (float y = 372; y < 480; y += 18) draw(img, rect(0, y, 640, y + 1.5f), rgb(0x24160E), 0.5f);
    // A round table with two cups of something warm.
    draw(img, ellipse(320, 392, 150, 26), rgb(0x3A2418));
    draw(img, ellipse(320, 386, 150, 26), vertical(rgb(0x8A5A3C), rgb(0x5E3A26), 360, 412));
    for (float cx : {270.f, 372.f}) {
        draw(img, ellipse(cx, 384, 20, 6), rgb(0xE8DFD0));
        draw(img, roundRect(cx - 11, 362, cx + 11, 384, 4), rgb(0xF6F0E6));
        draw(img, ellipse(cx, 363, 11, 3.5f), rgb(0x6A3E26));
        for (int s = 0; s < 3; ++s) // steam
            draw(img,
                 capsule(cx - 4 + float(s) * 4, 356 - float(s) * 2, cx - 2 + float(s) * 4, 336,
                         1.2f),
                 rgb(0xFFFFFF), 0.18f);
    }
    // The pendant lamp and its warm pool of light.
    draw(img, capsule(320, 0, 320, 60, 1.2f), rgb(0x2A1A12));
    draw(img, polygon({{296, 84}, {344, 84}, {332, 60}, {308, 60}}), rgb(0x3A5A48));
    draw(img, ellipse(320, 85, 24, 4), rgb(0xFFF0C8));
    glow(img, 320, 100, 120, rgb(0xFFC070), 0.28f);
    glow(img, 320, 380, 110, rgb(0xFFB060), 0.18f);
    // Darken the corners a little so the figures stand out.
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            float dx = (float(x) - 320) / 420, dy = (float(y) - 240) / 330;
            img.at(x, y) =
                scale(img.at(x, y), 1 - 0.35f * smoothstep(0.4f, 1.2f, dx * dx + dy * dy));
        }
    return img;
}

// ---------------------------------------------------------------------------------------------
// Standing figures, 200 x 400, feet on the bottom row

enum class HairStyle { Bob, Long, Short };

struct Look {
    Color skin, hair, coat, coatShade, legs, shoes, eyes;
    HairStyle style;
    bool scarf;
    Color scarfColor;
};

void face(Image& img, const Look& look, float cx, float cy, bool smile) {
    for (float ex : {cx - 14.f, cx + 14.f}) {
        draw(img, ellipse(ex, cy + 4, 5, 6.5f), look.eyes);
        draw(img, ellipse(ex, cy + 6, 3.6f, 3.8f), mix(look.eyes, rgb(0xFFFFFF), 0.25f));
        draw(img, circle(ex + 1.5f, cy + 1.8f, 1.6f), rgb(0xFFFFFF));
        draw(img, capsule(ex - 6, cy - 4, ex + 5, cy - 5.5f, 1.1f), mix(look.hair, rgb(0), 0.3f),
             0.9f);
    }
    draw(img, ellipse(cx - 22, cy + 14, 6, 3), rgb(0xF08A8A), 0.35f);
    draw(img, ellipse(cx + 22, cy + 14, 6, 3), rgb(0xF08A8A), 0.35f);
    if (smile) {
        draw(img, capsule(cx - 5, cy + 21, cx, cy + 23, 1.1f), rgb(0x9A4A4A));
        draw(img, capsule(cx, cy + 23, cx + 5, cy + 21, 1.1f), rgb(0x9A4A4A));
    } else {
        draw(img, capsule(cx - 4, cy + 22, cx + 4, cy + 22, 1.1f), rgb(0x9A4A4A));
    }
}

Image figure(const Look& look, bool suitcase, bool umbrella, bool smile) {
    Image img(200, 400, 0);
    const float cx = 100, headY = 74;
    Color hairLight = mix(look.hair, rgb(0xFFFFFF), 0.18f);
    // Long hair falls behind the body.
    if (look.style == HairStyle::Long)
        draw(img, roundRect(56, 60, 144, 215, 30), vertical(hairLight, look.hair, 60, 215));
    else if (look.style == HairStyle::Bob)
        draw(img, ellipse(cx, headY + 6, 44, 46), vertical(hairLight, look.hair, 30, 130));
    // Legs and shoes.
    for (float lx : {cx - 15.f, cx + 15.f}) {
        draw(img, capsule(lx, 290, lx, 378, 10),
             vertical(look.legs, scale(look.legs, 0.75f), 290, 380));
        draw(img, ellipse(lx + (lx < cx ? -3 : 3), 388, 15, 8), look.shoes);
    }
    // The coat: shoulders, body widening to the hem.
    Shader coat = vertical(look.coat, look.coatShade, 130, 310);
    draw(img, polygon({{62, 140}, {138, 140}, {154, 306}, {46, 306}}), coat);
    draw(img, ellipse(cx, 144, 40, 16), coat);
    draw(img, polygon({{cx - 2, 140}, {cx + 2, 140}, {cx + 3, 306}, {cx - 3, 306}}), look.coatShade,
         0.6f);
    for (float by : {175.f, 210.f, 245.f}) draw(img, circle(cx + 9, by, 3), look.coatShade);
    // Arms, hands.
    Color sleeve = mix(look.coat, look.coatShade, 0.3f);
    draw(img, capsule(64, 150, 54, 250, 12), sleeve);
    draw(img, capsule(136, 150, 146, 250, 12), sleeve);
    draw(img, ellipse(54, 260, 9, 11), look.skin);
    draw(img, ellipse(146, 260, 9, 11), look.skin);
    if (suitcase) {
        draw(img, roundRect(14, 272, 62, 342, 6), vertical(rgb(0xB86B4B), rgb(0x7A4030), 272, 342));
        draw(img, rect(14, 300, 62, 306), rgb(0x5A2E22));
        draw(img, capsule(30, 266, 46, 266, 3), rgb(0x3A2018));
    }
    if (umbrella) {
        draw(img, capsule(150, 262, 170, 392, 3), rgb(0x3A3A4A));
        draw(img, polygon({{152, 270}, {160, 268}, {172, 380}, {166, 384}}), rgb(0x2E4E8C));
        draw(img, capsule(146, 258, 150, 272, 3.5f), rgb(0x5A3A2A));
    }
    // Neck, collar, scarf.
    draw(img, rect(cx - 10, 104, cx + 10, 134), scale(look.skin, 0.92f));
    draw(
        img,
        polygon(
            {{cx - 26, 130}, {cx, 150}, {cx + 26, 130}, {cx + 20, 126}, {cx, 140}, {cx - 20, 126}}),
        look.coatShade);
    if (look.scarf) {
        draw(img, roundRect(cx - 28, 120, cx + 28, 144, 11), look.scarfColor);
        draw(img, roundRect(cx + 6, 130, cx + 24, 196, 6), scale(look.scarfColor, 0.88f));
        for (float fy : {190.f, 194.f})
            draw(img, rect(cx + 8, fy, cx + 22, fy + 1.5f), scale(look.scarfColor, 0.7f));
    }
    // Head.
    draw(img, ellipse(cx, headY, 34, 38), vertical(look.skin, scale(look.skin, 0.93f), 40, 112));
    draw(img, ellipse(cx - 34, headY + 6, 5, 8), scale(look.skin, 0.9f));
    draw(img, ellipse(cx + 34, headY + 6, 5, 8), scale(look.skin, 0.9f));
    face(img, look, cx, headY + 2, smile);
    // Fringe and the top of the hair over the head.
    Shader hair = vertical(hairLight, look.hair, 30, 80);
    draw(img,
         polygon({{cx - 40, headY - 2},
                  {cx - 36, headY - 30},
                  {cx - 16, headY - 44},
                  {cx + 16, headY - 44},
                  {cx + 36, headY - 30},
                  {cx + 40, headY - 2},
                  {cx + 30, headY - 18},
                  {cx + 18, headY - 6},
                  {cx + 10, headY - 22},
                  {cx - 2, headY - 8},
                  {cx - 12, headY - 24},
                  {cx - 24, headY - 6},
                  {cx - 32, headY - 18}}),
         hair);
    draw(img, ellipse(cx, headY - 26, 38, 20), hair);
    draw(img, capsule(cx - 16, headY - 34, cx + 4, headY - 38, 2.5f), rgb(0xFFFFFF), 0.25f);
    if (look.style == HairStyle::Bob) {
        draw(img, roundRect(cx - 44, headY - 20, cx - 30, headY + 30, 7), hair);
        draw(img, roundRect(cx + 30, headY - 20, cx + 44, headY + 30, 7), hair);
    } else if (look.style == HairStyle::Long) {
        draw(img, roundRect(cx - 42, headY - 20, cx - 30, headY + 64, 6), hair);
        draw(img, roundRect(cx + 30, headY - 20, cx + 42, headY + 64, 6), hair);
    } else { // cropped at the temples
        draw(img, roundRect(cx - 38, headY - 20, cx - 30, headY + 8, 4), hair);
        draw(img, roundRect(cx + 30, headY - 20, cx + 38, headY + 8, 4), hair);
    }
    return img;
}

// The station attendant: cap, uniform, a lantern in hand.
Image attendant() {
    Look look{rgb(0xF1CDB0), rgb(0x8A8A92), rgb(0x2E3A5C),    rgb(0x1E2640), rgb(0x1E2640),
              rgb(0x141414), rgb(0x3A2A22), HairStyle::Short, false,         {}};
    Image img = figure(look, false, false, true);
    const float cx = 100;
    // Cap with its badge and peak.
    draw(img, roundRect(cx - 38, 24, cx + 38, 52, 10),
         vertical(rgb(0x3A4670), rgb(0x222A48), 24, 52));
    draw(img, ellipse(cx, 54, 44, 7), rgb(0x161A2C));
    draw(img, circle(cx, 38, 5), rgb(0xE0C060));
    // Gold buttons over the shading buttons, and a lantern in the right hand.
    for (float by : {175.f, 210.f, 245.f}) draw(img, circle(cx + 9, by, 3), rgb(0xE0C060));
    draw(img, capsule(146, 266, 146, 282, 1.5f), rgb(0x2A2A2A));
    draw(img, roundRect(134, 282, 158, 318, 5), rgb(0x3A3A3A));
    draw(img, roundRect(138, 288, 154, 312, 3), rgb(0xFFE3A0));
    return img;
}

// Click-wait cursors: three cells of 24 x 24 side by side, keyed by the top-left pixel.
Image cursorCells(bool page) {
    Image img(72, 24, 0);
    for (int cell = 0; cell < 3; ++cell) {
        float ox = float(cell) * 24;
        if (!page) { // a small triangle bobbing down
            float dy = float(cell) * 2.5f;
            draw(img, polygon({{ox + 6, 7 + dy}, {ox + 18, 7 + dy}, {ox + 12, 16 + dy}}),
                 vertical(rgb(0xFFF6D0), rgb(0xFFC860), 7, 16));
        } else { // a diamond that grows and shrinks
            float r = 4.5f + float(cell) * 2;
            draw(img,
                 polygon(
                     {{ox + 12, 12 - r}, {ox + 12 + r, 12}, {ox + 12, 12 + r}, {ox + 12 - r, 12}}),
                 vertical(rgb(0xE8F4FF), rgb(0x90C0FF), 12 - r, 12 + r));
        }
    }
    return img;
}

// The lookback's paging buttons: a triangle pointing up or down, bright while the pointer is on
// it, keyed by the top-left pixel.
Image pagingArrow(bool up, bool lit) {
    Image img(24, 24, 0);
    const float tip = up ? 5 : 19;
    const float base = up ? 17 : 7;
    const Color top = lit ? rgb(0xFFF6D0) : rgb(0xB8B8C8);
    const Color bottom = lit ? rgb(0xFFC860) : rgb(0x707088);
    draw(img, polygon({{12, tip}, {20, base}, {4, base}}), vertical(top, bottom, 5, 19));
    return img;
}

// Mask for the mask wipes: dark parts change first. A sweep from left to right broken into
// streaks like rain running down a window.
Image rainMask() {
    Image img(kW, kH, 1);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            float streak = fbm(float(x) / 9.f, float(y) / 140.f, 77);
            float v = clamp01(0.78f * float(x) / float(kW - 1) + 0.22f * streak);
            img.at(x, y) = {v, v, v};
        }
    return img;
}

// ---------------------------------------------------------------------------------------------
// The scenario

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Converts the scenario, refusing any character without a Shift-JIS form: the engine would show
// it as "?" and nobody would notice until playing that page.
std::string scenarioToSjis(const std::string& utf8) {
    std::string out;
    size_t lineStart = 0;
    int lineNo = 1;
    while (lineStart < utf8.size()) {
        size_t end = utf8.find('\n', lineStart);
        if (end == std::string::npos) end = utf8.size();
        std::string line = utf8.substr(lineStart, end - lineStart);
        std::string sj = orv::sjis::fromUtf8(line);
        if (orv::sjis::toUtf8(sj) != line)
            throw std::runtime_error("line " + std::to_string(lineNo) +
                                     " has a character without a Shift-JIS form: " + line);
        out += sj;
        if (end < utf8.size()) out += '\n';
        lineStart = end + 1;
        ++lineNo;
    }
    return out;
}

// Drawn at the end of this file.
void writeTitleScreen(const fs::path& dir);
void writeLamp(const fs::path& path);
// The sounds, made at the end of this file.
void writeMusic(const fs::path& path);
void writeChime(const fs::path& path);
void writeOpeningMovie(const fs::path& path, const std::vector<const Image*>& scenes);
void packPictures(const fs::path& dir, const std::vector<std::string>& names,
                  const std::string& archiveName);

void run(const fs::path& scenario, const fs::path& dir) {
    fs::create_directories(dir);
    std::string sjisText = scenarioToSjis(readText(scenario));

    Image rainy = station(true);
    writeOpaque(dir / "station.bmp", rainy);
    Image night = station(false);
    writeOpaque(dir / "night.bmp", night);
    Image road = street();
    writeOpaque(dir / "street.bmp", road);
    Image room = cafe();
    writeOpaque(dir / "cafe.bmp", room);

    Look chinatsu{rgb(0xF6D7C0), rgb(0x7A4A30), rgb(0xD8BE92),  rgb(0xA88A62), rgb(0x4A3A40),
                  rgb(0x5A3424), rgb(0x5A3020), HairStyle::Bob, false,         {}};
    Image c = figure(chinatsu, true, false, true);
    writeLeftup(dir / "chinatsu.bmp", c, rgb(0x2A1C18));
    Look mio{rgb(0xF8DCCB), rgb(0x1E1C2A), rgb(0x2E3E66),   rgb(0x1E2A48), rgb(0x222230),
             rgb(0x2A1A14), rgb(0x2A3050), HairStyle::Long, true,          rgb(0xC84450)};
    Image m = figure(mio, false, true, false);
    writeAlpha(dir / "mio.bmp", m);
    Image a = attendant();
    writeLeftup(dir / "attendant.bmp", a, rgb(0x10121C));

    Image cur0 = cursorCells(false);
    writeLeftup(dir / "cursor0.bmp", cur0, rgb(0x3A2A10));
    Image cur1 = cursorCells(true);
    writeLeftup(dir / "cursor1.bmp", cur1, rgb(0x182A48));
    const std::pair<const char*, Image> arrows[] = {{"uoncur.bmp", pagingArrow(true, true)},
                                                    {"uoffcur.bmp", pagingArrow(true, false)},
                                                    {"doncur.bmp", pagingArrow(false, true)},
                                                    {"doffcur.bmp", pagingArrow(false, false)}};
    for (auto [name, arrow] : arrows) writeLeftup(dir / name, arrow, rgb(0x202030));

    Image mask = rainMask();
    writeOpaque(dir / "mask.bmp", mask);
    writeTitleScreen(dir);
    writeLamp(dir / "lamp.bmp");

    // Some pictures come packed, as games of this kind shipped them (registered with `arc`).
    packPictures(dir, {"night.bmp", "street.bmp", "cafe.bmp", "attendant.bmp"}, "pictures.zip");
    writeMusic(dir / "bgm.mid");
    writeChime(dir / "chime.wav");
    writeOpeningMovie(dir / "opening.avi", {&night, &rainy, &road});

    // Written last: the build treats it as the sign that the folder is complete.
    std::ofstream out(dir / "0.txt", std::ios::binary);
    out.write(sjisText.data(), std::streamsize(sjisText.size()));
    if (!out) throw std::runtime_error("cannot write " + (dir / "0.txt").string());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: demo_assets SCENARIO.txt OUTPUT_DIR\n";
        return 1;
    }
    try {
        run(argv[1], argv[2]);
    } catch (const std::exception& e) {
        std::cerr << "demo_assets: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------
// The title screen and its two buttons: "start" (a triangle) on the left, "how to play" (an i)
// on the right. The buttons' highlighted looks are cut from the same screen drawn lit, at the
// places the scenario's btn commands name, so their rounded corners match the picture beneath.

namespace {

constexpr int kPlateY = 340, kPlateW = 200, kPlateH = 64;
constexpr int kStartX = 60, kHowToX = 380; // multiples of 4: the cut keeps the dither's phase

void plate(Image& img, float x, bool lit) {
    const float y = kPlateY, cx = x + kPlateW / 2.f, cy = y + kPlateH / 2.f;
    draw(img, roundRect(x + 2, y + 2, x + kPlateW - 2, y + kPlateH - 2, 14),
         lit ? rgb(0xFFE3A0) : rgb(0x8C96C8), 0.9f);
    draw(img, roundRect(x + 5, y + 5, x + kPlateW - 5, y + kPlateH - 5, 11),
         lit ? vertical(rgb(0x7A4A30), rgb(0x4A2A20), y, y + kPlateH)
             : vertical(rgb(0x2A3260), rgb(0x161A38), y, y + kPlateH),
         0.92f);
    const Color ink = lit ? rgb(0xFFF1CF) : rgb(0xC8D0F0);
    if (x == kStartX) {
        draw(img, polygon({{cx - 12, cy - 16}, {cx + 16, cy}, {cx - 12, cy + 16}}), ink);
    } else {
        draw(img, circle(cx, cy - 13, 4.5f), ink);
        draw(img, roundRect(cx - 4, cy - 5, cx + 4, cy + 18, 3), ink);
    }
}

Image titleScreen(bool lit) {
    Image img = station(false);
    for (Color& c : img.px) c = scale(c, 0.75f);
    plate(img, kStartX, lit);
    plate(img, kHowToX, lit);
    return img;
}

void writeTitleScreen(const fs::path& dir) {
    Image title = titleScreen(false);
    writeOpaque(dir / "title.bmp", title);
    const Image lit = titleScreen(true);
    Image buttons(2 * kPlateW, kPlateH, 1);
    for (int y = 0; y < kPlateH; ++y)
        for (int x = 0; x < kPlateW; ++x) {
            buttons.at(x, y) = lit.px[size_t((kPlateY + y) * lit.w + kStartX + x)];
            buttons.at(kPlateW + x, y) = lit.px[size_t((kPlateY + y) * lit.w + kHowToX + x)];
        }
    writeOpaque(dir / "titlebtn.bmp", buttons);
}

// ---------------------------------------------------------------------------------------------
// The flickering platform lamp: an animated sprite of three alpha cells, each cell the picture
// on its left half and its mask on its right (black = opaque), the glow brighter from cell to
// cell.

void writeLamp(const fs::path& path) {
    constexpr int kCell = 120, kCells = 3;
    Image img(kCell * kCells, kCell, 0);
    const Color warm = rgb(0xFFD89A);
    for (int cell = 0; cell < kCells; ++cell) {
        const float ox = float(cell * kCell), cx = ox + 60, cy = 62;
        const float strength = 0.25f + 0.3f * float(cell);
        for (int y = 0; y < kCell; ++y)
            for (int x = cell * kCell; x < (cell + 1) * kCell; ++x) {
                const float dx = float(x) + 0.5f - cx, dy = float(y) + 0.5f - cy;
                img.blend(x, y, warm, strength * std::exp(-(dx * dx + dy * dy) / (22.f * 22.f)));
            }
        draw(img, capsule(cx, 0, cx, 56, 1.2f), rgb(0x1A1622));
        draw(img, roundRect(cx - 14, 56, cx + 14, 66, 3),
             mix(rgb(0xE8D8B0), rgb(0xFFF6DC), strength));
    }
    writeBmp(path, kCell * kCells * 2, kCell, [&](int x, int y, uint8_t* p) {
        const int cell = x / (2 * kCell), inCell = x % (2 * kCell);
        const int sx = cell * kCell + inCell % kCell;
        if (inCell < kCell) {
            const Color c = img.at(sx, y);
            p[0] = toByte(c.b);
            p[1] = toByte(c.g);
            p[2] = toByte(c.r);
        } else {
            p[0] = p[1] = p[2] = uint8_t(255 - toByte(img.alphaAt(sx, y)));
        }
    });
}

} // namespace

// The sounds: a quiet piano tune for the rain (a MIDI file the engine plays through its
// synthesizer) and the station's two-tone chime (a WAV made sample by sample).

namespace {

void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string bigEndian(uint32_t v, int bytes) {
    std::string s;
    for (int i = bytes - 1; i >= 0; --i) s += char((v >> (8 * i)) & 0xFF);
    return s;
}

std::string littleEndian(uint32_t v, int bytes) {
    std::string s;
    for (int i = 0; i < bytes; ++i) s += char((v >> (8 * i)) & 0xFF);
    return s;
}

// Eight bars in A minor at 72 beats a minute: a piano melody in quarter notes over a string
// pad, 96 ticks to the quarter note.
void writeMusic(const fs::path& path) {
    struct Note {
        uint32_t start, length; // in eighth notes
        int channel, key, velocity;
    };
    std::vector<Note> notes;
    const int melody[] = {76, 72, 69, 72, 74, 72, 71, 72, 76, 79, 77, 76, 74, 72, 71, 69,
                          72, 74, 76, 74, 72, 71, 69, 71, 72, 71, 69, 68, 69, -1, 69, -1};
    for (uint32_t i = 0; i < 32; ++i)
        if (melody[i] > 0) {
            // A rest after a note holds it.
            const uint32_t length = i + 1 < 32 && melody[i + 1] < 0 ? 4 : 2;
            notes.push_back({i * 2, length, 0, melody[i], 72});
        }
    const int chords[][3] = {{57, 60, 64}, {53, 57, 60}, {48, 52, 55}, {52, 56, 59},
                             {57, 60, 64}, {53, 57, 60}, {52, 56, 59}, {57, 60, 64}};
    for (uint32_t bar = 0; bar < 8; ++bar)
        for (int k : chords[bar]) notes.push_back({bar * 8, 8, 1, k, 44});

    struct Event {
        uint32_t tick;
        std::string bytes;
    };
    std::vector<Event> events;
    const uint32_t eighth = 48;
    for (const Note& n : notes) {
        events.push_back(
            {n.start * eighth, {char(0x90 | n.channel), char(n.key), char(n.velocity)}});
        events.push_back(
            {(n.start + n.length) * eighth - 1, {char(0x80 | n.channel), char(n.key), 0}});
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.tick < b.tick; });
    auto delta = [](uint32_t v) {
        std::string s(1, char(v & 0x7F));
        while (v >>= 7) s.insert(s.begin(), char(0x80 | (v & 0x7F)));
        return s;
    };
    // Tempo (72 a minute), piano on channel 0, strings on channel 1.
    std::string track = delta(0) + "\xFF\x51\x03" + bigEndian(60000000 / 72, 3);
    track += delta(0) + std::string("\xC0\x00", 2) + delta(0) + "\xC1\x30";
    uint32_t now = 0;
    for (const Event& e : events) {
        track += delta(e.tick - now) + e.bytes;
        now = e.tick;
    }
    track += delta(eighth) + std::string("\xFF\x2F\x00", 3);
    writeBytes(path, "MThd" + bigEndian(6, 4) + bigEndian(0, 2) + bigEndian(1, 2) +
                         bigEndian(96, 2) + "MTrk" + bigEndian(uint32_t(track.size()), 4) + track);
}

// Two bell tones, a fourth apart, each dying away: 1.6 s, 22050 Hz mono.
void writeChime(const fs::path& path) {
    const int rate = 22050;
    const int frames = rate * 16 / 10;
    std::string data;
    for (int i = 0; i < frames; ++i) {
        const float t = float(i) / float(rate);
        float v = 0;
        for (auto [start, freq] : {std::pair{0.f, 880.f}, std::pair{0.5f, 659.25f}}) {
            if (t < start) continue;
            const float u = t - start;
            const float envelope = std::exp(-u * 3.f) * std::min(1.f, u * 200.f);
            v += envelope * (std::sin(2.f * 3.14159265f * freq * u) +
                             0.3f * std::sin(2.f * 3.14159265f * freq * 2.76f * u));
        }
        data += littleEndian(uint16_t(int16_t(std::clamp(v * 0.35f, -1.f, 1.f) * 32767.f)), 2);
    }
    writeBytes(path, "RIFF" + littleEndian(uint32_t(36 + data.size()), 4) + "WAVEfmt " +
                         littleEndian(16, 4) + littleEndian(1, 2) + littleEndian(1, 2) +
                         littleEndian(rate, 4) + littleEndian(rate * 2, 4) + littleEndian(2, 2) +
                         littleEndian(16, 2) + "data" + littleEndian(uint32_t(data.size()), 4) +
                         data);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The archive: the named pictures moved into one ZIP file of the game folder.

namespace {

void packPictures(const fs::path& dir, const std::vector<std::string>& names,
                  const std::string& archiveName) {
    const fs::path archivePath = dir / archiveName;
    archive* a = archive_write_new();
    archive_write_set_format_zip(a);
    if (archive_write_open_filename(a, archivePath.c_str()) != ARCHIVE_OK)
        throw std::runtime_error("cannot write " + archivePath.string());
    for (const std::string& name : names) {
        const std::string data = readText(dir / name);
        archive_entry* e = archive_entry_new();
        archive_entry_set_pathname(e, name.c_str());
        archive_entry_set_size(e, la_int64_t(data.size()));
        archive_entry_set_filetype(e, AE_IFREG);
        archive_entry_set_perm(e, 0644);
        const bool ok = archive_write_header(a, e) == ARCHIVE_OK &&
                        archive_write_data(a, data.data(), data.size()) == la_ssize_t(data.size());
        archive_entry_free(e);
        if (!ok) throw std::runtime_error("cannot pack " + name + " into " + archiveName);
        fs::remove(dir / name);
    }
    if (archive_write_close(a) != ARCHIVE_OK)
        throw std::runtime_error("cannot finish " + archivePath.string());
    archive_write_free(a);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The opening movie: the evening's pictures one after another, each drifting slowly closer and
// crossfading into the next, out of black and back into it. Small (320x240, 12 pictures a
// second): the player scales it to the game area.

namespace {

void writeOpeningMovie(const fs::path& path, const std::vector<const Image*>& scenes) {
    orv::videowriter::VideoPlan plan;
    plan.width = 320;
    plan.height = 240;
    plan.framesPerSecond = 12;
    plan.frames = 30;
    const float perScene = float(plan.frames) / float(scenes.size());
    auto sample = [&](const Image& img, float t, int x, int y) {
        // Zooms in by an eighth over the scene, around the picture's centre.
        const float s = (1.f - 0.125f * t) * float(img.w) / float(plan.width);
        const int sx = std::clamp(int(float(img.w) / 2 + (float(x) - 160.f) * s), 0, img.w - 1);
        const int sy = std::clamp(int(float(img.h) / 2 + (float(y) - 120.f) * s), 0, img.h - 1);
        return img.px[size_t(sy * img.w + sx)];
    };
    std::string error;
    const bool ok = orv::videowriter::writeVideo(
        path, plan,
        [&](int index, std::vector<uint8_t>& rgb) {
            const float f = float(index) / perScene;
            const size_t scene = std::min(size_t(f), scenes.size() - 1);
            const float t = f - float(scene);
            // The last third of a scene fades into the next; black before the first and after
            // the last.
            const float fade = smoothstep(0.67f, 1.f, t);
            const float light = smoothstep(0.f, 3.f, float(index)) *
                                smoothstep(0.f, 3.f, float(plan.frames - 1 - index));
            const Image* next = scene + 1 < scenes.size() ? scenes[scene + 1] : nullptr;
            for (int y = 0; y < plan.height; ++y)
                for (int x = 0; x < plan.width; ++x) {
                    Color c = sample(*scenes[scene], t, x, y);
                    if (next) c = mix(c, sample(*next, 0.f, x, y), fade);
                    c = scale(c, light);
                    uint8_t* p = &rgb[(size_t(y) * size_t(plan.width) + size_t(x)) * 3];
                    p[0] = toByte(c.r);
                    p[1] = toByte(c.g);
                    p[2] = toByte(c.b);
                }
        },
        &error);
    if (!ok) throw std::runtime_error("cannot write " + path.string() + ": " + error);
}

} // namespace
