// Byte-deterministic picture writers: 24-bit BMP and 8-bit RGB or RGBA PNG.
#pragma once

#include <string>

#include "Picture.h"

namespace assetgen {

// Writes a bottom-up 24-bit BMP (BITMAPINFOHEADER, 2835 pixels per metre). Throws on failure.
void WriteBmp(const Image& image, const std::string& path);
// Writes an 8-bit RGB PNG without time or text chunks. Throws on failure.
void WritePng(const Image& image, const std::string& path);
// Writes an 8-bit RGBA PNG in which magenta pixels are fully transparent. Throws on failure.
void WritePngWithAlpha(const Image& image, const std::string& path);
// Picks the writer by the extension of `path` (".png" or ".bmp", any case).
void WritePicture(const Image& image, const std::string& path);

}  // namespace assetgen
