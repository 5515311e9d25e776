// The game's icon for desktops and for its own window, made from one picture.
#pragma once

#include <filesystem>

#include "Picture.h"

namespace assetgen {

// Sizes of the hicolor icon set; each is a whole multiple of the 16-pixel picture.
inline constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};
// Size of the window's icon in the data folder.
inline constexpr int kWindowIconSize = 64;

// Writes `picture` (square, 16 pixels) scaled by whole multiples to
// ICONS/hicolor/NxN/apps/anagura.png for every size above, and to
// DATA/image/anagura.png at the window's size: RGBA, magenta transparent.
// Throws std::runtime_error when the picture does not fit or a file cannot be written.
void WriteIcons(const Image& picture, const std::filesystem::path& data, const std::filesystem::path& icons);

}  // namespace assetgen
