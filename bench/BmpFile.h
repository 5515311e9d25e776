// Small 24-bit BMP files written on the fly for the benchmarks' pictures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace bench {

// Writes width x height 0xRRGGBB pixels (top row first) as a bottom-up 24-bit BMP.
inline void WriteBmp24(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels) {
    const size_t row = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    std::vector<uint8_t> out(54 + row * static_cast<size_t>(height), 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) out[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, static_cast<uint32_t>(out.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    out[26] = 1;
    out[28] = 24;
    for (int y = 0; y < height; ++y) {
        uint8_t* line = out.data() + 54 + static_cast<size_t>(height - 1 - y) * row;
        for (int x = 0; x < width; ++x) {
            const uint32_t c = pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
            line[3 * x] = static_cast<uint8_t>(c);
            line[3 * x + 1] = static_cast<uint8_t>(c >> 8);
            line[3 * x + 2] = static_cast<uint8_t>(c >> 16);
        }
    }
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(out.data()),
                                                static_cast<std::streamsize>(out.size()));
}

}  // namespace bench
