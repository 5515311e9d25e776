// Image decoders: PNG (libpng), JPEG (libjpeg), BMP (our own reader).
// Each takes a whole file in memory and gives 0xAARRGGBB pixels, top row first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace media {

struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb;
};

enum class DecodeResult {
    Ok,
    Failed,    // not a picture we can read, or damaged
    TooLarge,  // declared size beyond the limits below: refused before allocating
};

// Largest picture accepted: 16384 pixels on a side and 16 M pixels in all.
constexpr int kMaxImageSide = 16384;
constexpr int64_t kMaxImagePixels = int64_t{1} << 24;
// Largest file read into memory.
constexpr int64_t kMaxImageFileBytes = int64_t{1} << 28;

inline bool ImageSizeAcceptable(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
           width * height <= kMaxImagePixels;
}

// Picks the decoder by the file's signature.
DecodeResult DecodeImage(const uint8_t* data, size_t size, DecodedImage& out);

DecodeResult DecodePng(const uint8_t* data, size_t size, DecodedImage& out);
DecodeResult DecodeJpeg(const uint8_t* data, size_t size, DecodedImage& out);
DecodeResult DecodeBmp(const uint8_t* data, size_t size, DecodedImage& out);

}  // namespace media
