#include "shotmatch/XwdFile.h"

#include <fstream>
#include <iterator>

namespace shotmatch {

namespace {

// Fields of the file header: 25 big-endian 32-bit numbers.
enum Field {
    kHeaderSize = 0,
    kFormat = 2,
    kWidth = 4,
    kHeight = 5,
    kByteOrder = 7,
    kBitsPerPixel = 11,
    kBytesPerLine = 12,
    kVisualClass = 13,
    kRedMask = 14,
    kGreenMask = 15,
    kBlueMask = 16,
    kColours = 19,
    kFieldCount = 25,
};
constexpr uint32_t kZPixmap = 2;
constexpr uint32_t kTrueColor = 4;
constexpr uint32_t kDirectColor = 5;
constexpr size_t kColourEntryBytes = 12;

uint32_t BigEndian32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 |
           p[3];
}

// The 8-bit value of a colour channel held under `mask` in `pixel`.
uint32_t Channel(uint32_t pixel, uint32_t mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (!(mask >> shift & 1)) ++shift;
    const uint32_t max = mask >> shift;
    return ((pixel & mask) >> shift) * 255 / max;
}

}  // namespace

bool ReadXwd(const std::string& path, WindowPicture& picture, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < 4 * kFieldCount) {
        error = "cannot be read or is too short";
        return false;
    }
    uint32_t h[kFieldCount];
    for (int i = 0; i < kFieldCount; ++i) h[i] = BigEndian32(bytes.data() + 4 * i);
    const uint32_t pixelBytes = h[kBitsPerPixel] / 8;
    if (h[kFormat] != kZPixmap || (h[kVisualClass] != kTrueColor && h[kVisualClass] != kDirectColor) ||
        (pixelBytes != 3 && pixelBytes != 4) || h[kBitsPerPixel] % 8 != 0) {
        error = "is not a true-colour Z-format dump of 24 or 32 bits per pixel";
        return false;
    }
    const uint64_t start = uint64_t{h[kHeaderSize]} + uint64_t{h[kColours]} * kColourEntryBytes;
    const uint64_t end = start + uint64_t{h[kBytesPerLine]} * h[kHeight];
    if (h[kWidth] == 0 || h[kWidth] > 65536 || uint64_t{h[kWidth]} * pixelBytes > h[kBytesPerLine] ||
        end > bytes.size()) {
        error = "holds fewer pixels than its header says";
        return false;
    }
    picture.width = static_cast<int>(h[kWidth]);
    picture.height = static_cast<int>(h[kHeight]);
    picture.rgb.assign(static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height), 0);
    const bool mostSignificantFirst = h[kByteOrder] != 0;
    for (int y = 0; y < picture.height; ++y) {
        const uint8_t* row = bytes.data() + start + uint64_t{h[kBytesPerLine]} * static_cast<uint64_t>(y);
        for (int x = 0; x < picture.width; ++x) {
            const uint8_t* p = row + static_cast<size_t>(x) * pixelBytes;
            uint32_t pixel = 0;
            for (uint32_t i = 0; i < pixelBytes; ++i)
                pixel |= static_cast<uint32_t>(p[i]) << (8 * (mostSignificantFirst ? pixelBytes - 1 - i : i));
            picture.rgb[static_cast<size_t>(y) * static_cast<size_t>(picture.width) + static_cast<size_t>(x)] =
                Channel(pixel, h[kRedMask]) << 16 | Channel(pixel, h[kGreenMask]) << 8 | Channel(pixel, h[kBlueMask]);
        }
    }
    return true;
}

}  // namespace shotmatch
