// Writes 0xRRGGBB pixels as an 8-bit RGB PNG file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace media {

// False when the file cannot be written or the size does not match the pixels.
bool WritePng(const std::string& path, const std::vector<uint32_t>& pixels, int width, int height);

}  // namespace media
