#include "media/video/BmpWriter.h"

#include <cstdio>

namespace media {

namespace {

constexpr uint32_t kHeaderBytes = 14 + 40;
constexpr uint32_t kPixelsPerMetre = 2835;

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void PutHeader(std::vector<uint8_t>& out, uint32_t width, uint32_t height, uint32_t dataBytes) {
    out.push_back('B');
    out.push_back('M');
    Put32(out, kHeaderBytes + dataBytes);  // file size
    Put32(out, 0);                         // reserved
    Put32(out, kHeaderBytes);              // where the pixels start
    Put32(out, 40);                        // BITMAPINFOHEADER
    Put32(out, width);
    Put32(out, height);  // positive: bottom-up
    Put16(out, 1);       // planes
    Put16(out, 24);      // bits per pixel
    Put32(out, 0);       // BI_RGB
    Put32(out, dataBytes);
    Put32(out, kPixelsPerMetre);
    Put32(out, kPixelsPerMetre);
    Put32(out, 0);  // colours used
    Put32(out, 0);  // important colours
}

}  // namespace

bool WriteBmp(const std::string& path, const std::vector<uint32_t>& pixels, int width, int height) {
    if (width <= 0 || height <= 0 || pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height))
        return false;
    const size_t w = static_cast<size_t>(width);
    const size_t stride = (w * 3 + 3) & ~size_t{3};
    const size_t dataBytes = stride * static_cast<size_t>(height);
    if (kHeaderBytes + dataBytes > UINT32_MAX) return false;
    std::vector<uint8_t> out;
    out.reserve(kHeaderBytes + dataBytes);
    PutHeader(out, static_cast<uint32_t>(width), static_cast<uint32_t>(height), static_cast<uint32_t>(dataBytes));
    for (size_t y = static_cast<size_t>(height); y-- > 0;) {
        for (size_t x = 0; x < w; ++x) {
            const uint32_t p = pixels[y * w + x];
            out.push_back(static_cast<uint8_t>(p));
            out.push_back(static_cast<uint8_t>(p >> 8));
            out.push_back(static_cast<uint8_t>(p >> 16));
        }
        out.resize(out.size() + stride - w * 3, 0);
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

}  // namespace media
