// PNG through libpng's simplified reading interface (all colour types, bit
// depths and interlacing, delivered as 8-bit BGRA = 0xAARRGGBB words).
#include <png.h>

#include <cstring>

#include "media/video/ImageDecoder.h"

namespace media {
namespace {

// Walks the chunk list: every chunk must fit in the file. A chunk that claims
// more bytes than there are is damaged, and libpng would otherwise go looking
// for (and allocate room for) up to 2 GB of it.
bool ChunksFit(const uint8_t* data, size_t size) {
    size_t pos = 8;
    while (pos + 12 <= size) {
        const uint32_t length = static_cast<uint32_t>(data[pos]) << 24 | static_cast<uint32_t>(data[pos + 1]) << 16 |
                                static_cast<uint32_t>(data[pos + 2]) << 8 | data[pos + 3];
        if (length > 0x7FFFFFFFu || length > size - pos - 12) return false;
        if (std::memcmp(data + pos + 4, "IEND", 4) == 0) return true;
        pos += 12 + static_cast<size_t>(length);
    }
    return false;
}

}  // namespace

DecodeResult DecodePng(const uint8_t* data, size_t size, DecodedImage& out) {
    if (size < 8 || !ChunksFit(data, size)) return DecodeResult::Failed;
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
