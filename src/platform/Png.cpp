#include "platform/Png.h"

#include <png.h>

#include <cstring>

namespace orv {

RgbImage toRgb(const FrameBuffer& frame) {
    RgbImage image;
    image.width = frame.width;
    image.height = frame.height;
    image.rgb.resize(size_t(frame.width) * frame.height * 3);
    uint8_t* out = image.rgb.data();
    for (int y = 0; y < frame.height; ++y) {
        const uint8_t* in = frame.row(y);
        for (int x = 0; x < frame.width; ++x, in += 3, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
    return image;
}

bool writePng(const std::string& path, const FrameBuffer& frame, std::string* error) {
    return writePng(path, toRgb(frame), error);
}

bool writePng(const std::string& path, const RgbImage& image, std::string* error) {
    if (image.width <= 0 || image.height <= 0 ||
        image.rgb.size() != size_t(image.width) * image.height * 3) {
        if (error) *error = "picture has no pixels";
        return false;
    }
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = png_uint_32(image.width);
    png.height = png_uint_32(image.height);
    png.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&png, path.c_str(), 0, image.rgb.data(), 0, nullptr)) {
        if (error) *error = png.message;
        png_image_free(&png);
        return false;
    }
    return true;
}

std::optional<RgbImage> readPng(const std::string& path, std::string* error) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) {
        if (error) *error = png.message;
        png_image_free(&png);
        return std::nullopt;
    }
    png.format = PNG_FORMAT_RGB;
    RgbImage image;
    image.width = int(png.width);
    image.height = int(png.height);
    image.rgb.resize(PNG_IMAGE_SIZE(png));
    const png_color black{0, 0, 0};
    if (!png_image_finish_read(&png, &black, image.rgb.data(), 0, nullptr)) {
        if (error) *error = png.message;
        png_image_free(&png);
        return std::nullopt;
    }
    return image;
}

} // namespace orv
