#include "graphics/PictureDecoders.h"

#include "graphics/BmpReader.h"

#include <gif_lib.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <jpeglib.h>

namespace orv {

namespace {

// Pictures come from outside: a few bytes may claim any size. A side of 4096 pixels holds every
// picture a 640x480 game uses (a sprite sheet included) and bounds one at 48 MiB.
constexpr int kMaxPictureDimension = 4096;

bool decodePng(Surface& surface, std::string_view bytes) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return false;
    image.format = PNG_FORMAT_BGR;
    if (image.width > uint32_t(kMaxPictureDimension) ||
        image.height > uint32_t(kMaxPictureDimension) ||
        !createSurface(surface, int(image.width), int(image.height), 24)) {
        png_image_free(&image);
        return false;
    }
    // Transparent parts show black, as a plug-in's plain bitmap would.
    png_color black{0, 0, 0};
    // A negative stride writes the rows bottom-up, the engine's order.
    if (!png_image_finish_read(&image, &black, surface.pixels.data(), -surface.stride, nullptr)) {
        png_image_free(&image);
        releaseSurface(surface);
        return false;
    }
    return true;
}

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void jpegFail(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

void jpegQuiet(j_common_ptr) {}

// Plain C state only between setjmp and longjmp: nothing here has a destructor to skip.
bool decodeJpeg(Surface& surface, std::string_view bytes) {
    jpeg_decompress_struct info{};
    JpegError error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = jpegFail;
    error.manager.output_message = jpegQuiet;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        releaseSurface(surface);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    if (info.output_width > JDIMENSION(kMaxPictureDimension) ||
        info.output_height > JDIMENSION(kMaxPictureDimension) || info.output_components != 3 ||
        !createSurface(surface, int(info.output_width), int(info.output_height), 24)) {
        jpeg_destroy_decompress(&info);
        releaseSurface(surface);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = surface.row(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

struct GifInput {
    std::string_view bytes;
    size_t pos = 0;
};

int gifRead(GifFileType* gif, GifByteType* out, int wanted) {
    auto* in = static_cast<GifInput*>(gif->UserData);
    const size_t n = std::min(size_t(std::max(wanted, 0)), in->bytes.size() - in->pos);
    std::memcpy(out, in->bytes.data() + in->pos, n);
    in->pos += n;
    return int(n);
}

bool decodeGif(Surface& surface, std::string_view bytes) {
    GifInput input{bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&input, gifRead, &error);
    if (!gif) return false;
    bool ok = DGifSlurp(gif) == GIF_OK && gif->ImageCount > 0 && gif->SWidth > 0 &&
              gif->SHeight > 0 && gif->SWidth <= kMaxPictureDimension &&
              gif->SHeight <= kMaxPictureDimension;
    const SavedImage* frame = ok ? &gif->SavedImages[0] : nullptr;
    const ColorMapObject* colours =
        frame && frame->ImageDesc.ColorMap ? frame->ImageDesc.ColorMap : gif->SColorMap;
    ok = ok && colours && colours->Colors && frame->RasterBits &&
         createSurface(surface, gif->SWidth, gif->SHeight, 24);
    if (ok) {
        // The frame on the logical screen, filled with the background colour around it.
        auto colourAt = [&](int index, uint8_t* px) {
            if (index < 0 || index >= colours->ColorCount) index = 0;
            const GifColorType& c = colours->Colors[index];
            px[0] = c.Blue;
            px[1] = c.Green;
            px[2] = c.Red;
        };
        for (int y = 0; y < surface.height; ++y)
            for (int x = 0; x < surface.width; ++x)
                colourAt(gif->SBackGroundColor, surface.row(y) + 3 * x);
        const GifImageDesc& d = frame->ImageDesc;
        for (int y = 0; y < d.Height; ++y) {
            const int sy = d.Top + y;
            if (sy < 0 || sy >= surface.height) continue;
            for (int x = 0; x < d.Width; ++x) {
                const int sx = d.Left + x;
                if (sx < 0 || sx >= surface.width) continue;
                colourAt(frame->RasterBits[size_t(y) * size_t(d.Width) + size_t(x)],
                         surface.row(sy) + 3 * sx);
            }
        }
    }
    DGifCloseFile(gif, &error);
    return ok;
}

} // namespace

PictureContent sniffPicture(std::string_view b) {
    if (b.starts_with("\x89PNG\r\n\x1a\n")) return PictureContent::Png;
    if (b.starts_with("\xFF\xD8\xFF")) return PictureContent::Jpeg;
    if (b.starts_with("GIF87a") || b.starts_with("GIF89a")) return PictureContent::Gif;
    if (b.starts_with("BM")) return PictureContent::Bmp;
    return PictureContent::Unknown;
}

bool decodePicture(Surface& surface, std::string_view bytes) {
    releaseSurface(surface);
    switch (sniffPicture(bytes)) {
    case PictureContent::Png:
        return decodePng(surface, bytes);
    case PictureContent::Jpeg:
        return decodeJpeg(surface, bytes);
    case PictureContent::Gif:
        return decodeGif(surface, bytes);
    case PictureContent::Bmp:
        readBmpFile(surface, bytes);
        return !surface.empty();
    case PictureContent::Unknown:
        break;
    }
    return false;
}

} // namespace orv
