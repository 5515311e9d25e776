// Loading and freeing images.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "media/core/MediaState.h"
#include "media/video/ImageDecoder.h"

namespace media {

// An image of the cell (x, y, w, h), inside the picture, loaded from `path`
// (the `cell`-th of a divided load, -1 for the whole file), with the pixels of
// `keyRgb` transparent when `useKey` (and those less than half opaque).
std::unique_ptr<Image> MakeImageKeyed(const DecodedImage& picture, int x, int y, int w, int h,
                                      const std::string& path, int cell, bool useKey, uint32_t keyRgb);

}  // namespace media

namespace media::op {

// The work of the public operations of these names (their contracts are in
// Media.h), called by their definitions in Media.cpp, which record them.
int LoadImageFile(const char* path, int flag);
int LoadImageDivided(const char* path, int total, int xCount, int yCount, int cellWidth, int cellHeight,
                     int* handlesOut, int flag);
int DeleteImage(int handle, int logFlag);

}  // namespace media::op
