#include "media/video/PngFile.h"

#include <png.h>

#include <csetjmp>
#include <cerrno>
#include <cstdio>

namespace media {

namespace {

// Encodes 8-bit RGB or RGBA rows into an open file. libpng reports errors by
// jumping back to the setjmp; nothing here owns anything that would then leak.
bool Encode(std::FILE* file, const uint8_t* rows, int width, int height, const PngOptions& options) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_compression_level(png, options.compressionLevel);
    if (!options.rowFilters) png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 options.alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (options.srgbChunk) png_set_sRGB(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
    png_write_info(png, info);
    const size_t stride = static_cast<size_t>(width) * (options.alpha ? 4 : 3);
    for (int y = 0; y < height; ++y) png_write_row(png, rows + static_cast<size_t>(y) * stride);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

std::vector<uint8_t> BytesOf(const std::vector<uint32_t>& pixels, bool alpha) {
    std::vector<uint8_t> bytes;
    bytes.reserve(pixels.size() * (alpha ? 4 : 3));
    for (uint32_t p : pixels) {
        bytes.push_back(static_cast<uint8_t>(p >> 16));
        bytes.push_back(static_cast<uint8_t>(p >> 8));
        bytes.push_back(static_cast<uint8_t>(p));
        if (alpha) bytes.push_back(static_cast<uint8_t>(p >> 24));
    }
    return bytes;
}

}  // namespace

bool WritePng(const std::string& path, const std::vector<uint32_t>& pixels, int width, int height,
              const PngOptions& options) {
    if (width <= 0 || height <= 0 || pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height))
        return false;
    const std::vector<uint8_t> rows = BytesOf(pixels, options.alpha);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool encoded = Encode(file, rows.data(), width, height, options);
    const int encodeError = errno;
    const bool closed = std::fclose(file) == 0;
    if (encoded && closed) return true;
    // No empty or partial picture is left (a full disk); errno says why.
    const int error = encoded ? errno : encodeError;
    std::remove(path.c_str());
    errno = error;
    return false;
}

}  // namespace media
