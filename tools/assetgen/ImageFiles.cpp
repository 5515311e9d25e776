#include "ImageFiles.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "media/video/BmpWriter.h"
#include "media/video/PngFile.h"

namespace assetgen {

namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

// 0xRRGGBB each; with `clearMagenta`, 0xAARRGGBB with magenta fully transparent
// (and black) and every other colour opaque.
std::vector<uint32_t> PixelsOf(const Image& image, bool clearMagenta) {
    std::vector<uint32_t> pixels;
    pixels.reserve(image.pixels.size());
    for (const Rgb& p : image.pixels) {
        const uint32_t rgb = (uint32_t(p.r) << 16) | (uint32_t(p.g) << 8) | p.b;
        if (!clearMagenta) pixels.push_back(rgb);
        else pixels.push_back(p == kMagenta ? 0 : 0xFF000000u | rgb);
    }
    return pixels;
}

// The shipped pictures: as small as zlib makes them, nothing but the pixels.
void WriteSmallPng(const Image& image, bool alpha, const std::string& path) {
    const media::PngOptions small{.alpha = alpha, .compressionLevel = 9, .rowFilters = true, .srgbChunk = false};
    if (!media::WritePng(path, PixelsOf(image, alpha), image.width, image.height, small))
        throw std::runtime_error("cannot write " + path);
}

}  // namespace

void WriteBmp(const Image& image, const std::string& path) {
    if (!media::WriteBmp(path, PixelsOf(image, false), image.width, image.height))
        throw std::runtime_error("cannot write " + path);
}

void WritePng(const Image& image, const std::string& path) { WriteSmallPng(image, false, path); }

void WritePngWithAlpha(const Image& image, const std::string& path) { WriteSmallPng(image, true, path); }

void WritePicture(const Image& image, const std::string& path) {
    std::string p = Lower(path);
    if (p.size() > 4 && p.substr(p.size() - 4) == ".png") WritePng(image, path);
    else WriteBmp(image, path);
}

}  // namespace assetgen
