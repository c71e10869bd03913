#include "platform/Png.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

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
    // Our own stream rather than libpng's file writer, which removes whatever it could not
    // finish: given a device such as /dev/full by a privileged user, that is the device.
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        if (error) *error = std::strerror(errno);
        return false;
    }
    std::string failure;
    errno = 0;
    if (!png_image_write_to_stdio(&png, file, 0, image.rgb.data(), 0, nullptr))
        failure = png.message;
    // A full disk shows only when the buffered bytes go out.
    else if (std::fflush(file) != 0 || std::ferror(file))
        failure = std::strerror(errno ? errno : EIO);
    png_image_free(&png);
    if (std::fclose(file) != 0 && failure.empty()) failure = std::strerror(errno ? errno : EIO);
    if (failure.empty()) return true;
    // A half-written picture would pass for a whole one; a device is left alone.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) std::remove(path.c_str());
    if (error) *error = failure;
    return false;
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
