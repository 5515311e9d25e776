// Writes 0xRRGGBB pixels as a 24-bit BMP file: bottom-up rows padded to four
// bytes, a BITMAPINFOHEADER, 2835 pixels per metre (72 dpi).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace media {

// pixels: the top row first. False when the file cannot be written or the size
// does not match the pixels.
bool WriteBmp(const std::string& path, const std::vector<uint32_t>& pixels, int width, int height);

}  // namespace media
