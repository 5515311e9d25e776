// PNG through libpng's simplified reading interface (all colour types, bit
// depths and interlacing, delivered as 8-bit BGRA = 0xAARRGGBB words).
#include <png.h>

#include <cstring>

#include "media/ImageDecoder.h"

namespace media {

DecodeResult DecodePng(const uint8_t* data, size_t size, DecodedImage& out) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) return DecodeResult::Failed;
    if (!ImageSizeAcceptable(image.width, image.height)) {
        png_image_free(&image);
        return DecodeResult::TooLarge;
    }
    image.format = PNG_FORMAT_BGRA;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.argb.assign(static_cast<size_t>(out.width) * static_cast<size_t>(out.height), 0);
    if (!png_image_finish_read(&image, nullptr, out.argb.data(), 0, nullptr)) {
        png_image_free(&image);
        out = DecodedImage();
        return DecodeResult::Failed;
    }
    png_image_free(&image);
    return DecodeResult::Ok;
}

}  // namespace media
