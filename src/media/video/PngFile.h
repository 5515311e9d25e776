// Writes pixels as an 8-bit RGB or RGBA PNG file, without time or text chunks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace media {

// How a PNG is written. The defaults suit screenshots: quick to write, marked sRGB.
// The same pixels and options always give the same bytes.
struct PngOptions {
    bool alpha = false;        // pixels are 0xAARRGGBB and the file keeps the alpha channel
    int compressionLevel = 1;  // zlib's 0 (none) to 9 (smallest)
    bool rowFilters = false;   // libpng picks a filter per row: smaller, slower
    bool srgbChunk = true;     // the colours are marked as sRGB
};

// pixels: 0xRRGGBB (0xAARRGGBB with alpha), the top row first. False when the
// file cannot be written or the size does not match the pixels.
bool WritePng(const std::string& path, const std::vector<uint32_t>& pixels, int width, int height,
              const PngOptions& options = {});

}  // namespace media
