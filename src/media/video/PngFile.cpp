#include "media/video/PngFile.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>

namespace media {

namespace {

// Speed over size: no row filters and the lightest deflate level; a game
// screen still comes out at a few kilobytes.
constexpr int kCompressionLevel = 1;

// Encodes 8-bit RGB rows into an open file. libpng reports errors by jumping
// back to the setjmp; nothing here owns anything that would then leak.
bool Encode(std::FILE* file, const uint8_t* rgb, int width, int height) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_compression_level(png, kCompressionLevel);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_sRGB(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) png_write_row(png, rgb + static_cast<size_t>(y) * static_cast<size_t>(width) * 3);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool WritePng(const std::string& path, const std::vector<uint32_t>& pixels, int width, int height) {
    if (width <= 0 || height <= 0 || pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height))
        return false;
    std::vector<uint8_t> rgb(pixels.size() * 3);
    for (size_t i = 0; i < pixels.size(); ++i) {
        rgb[3 * i] = static_cast<uint8_t>(pixels[i] >> 16);
        rgb[3 * i + 1] = static_cast<uint8_t>(pixels[i] >> 8);
        rgb[3 * i + 2] = static_cast<uint8_t>(pixels[i]);
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool encoded = Encode(file, rgb.data(), width, height);
    const bool closed = std::fclose(file) == 0;
    return encoded && closed;
}

}  // namespace media
