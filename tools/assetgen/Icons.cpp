#include "Icons.h"

#include <stdexcept>
#include <string>

#include "ImageFiles.h"
#include "Sheet.h"

namespace fs = std::filesystem;

namespace assetgen {

namespace {

void WriteAtSize(const Image& picture, int size, const fs::path& file) {
    fs::create_directories(file.parent_path());
    WritePngWithAlpha(Scale(picture, size / picture.width), file.string());
}

}  // namespace

void WriteIcons(const Image& picture, const fs::path& data, const fs::path& icons) {
    if (picture.width != 16 || picture.height != 16) throw std::runtime_error("the icon picture must be 16 x 16");
    for (int size : kIconSizes) {
        const std::string dir = std::to_string(size) + "x" + std::to_string(size);
        WriteAtSize(picture, size, icons / "hicolor" / dir / "apps" / "anagura.png");
    }
    WriteAtSize(picture, kWindowIconSize, data / "image" / "anagura.png");
}

}  // namespace assetgen
