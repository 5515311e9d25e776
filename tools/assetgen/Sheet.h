// Overview pictures for people: every picture on one contact sheet, and the
// title and play screens composed from the pictures at their screen positions.
#pragma once

#include <vector>

#include "Picture.h"

namespace assetgen {

// The picture with every pixel drawn as a scale x scale block.
Image Scale(const Image& src, int scale);
// Every picture at `scale`, transparent pixels shown as a grey checkerboard.
Image ContactSheet(const std::vector<const Image*>& pictures, int scale);
// The title screen and a play screen side by side (160 x 120 each), at `scale`.
Image ScreenMockup(const PictureBook& book, int scale);

}  // namespace assetgen
