#include "media/sound/WavWriter.h"

#include <cstdio>

namespace media {

namespace {
void Put32(std::FILE* f, uint32_t v) {
    const unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
    std::fwrite(b, 1, 4, f);
}
void Put16(std::FILE* f, uint16_t v) {
    const unsigned char b[2] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8)};
    std::fwrite(b, 1, 2, f);
}
}  // namespace

bool WriteWavFile(const std::string& path, const std::vector<int16_t>& samples, int rate, int channels) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::fwrite("RIFF", 1, 4, f);
    Put32(f, 36 + dataBytes);
    std::fwrite("WAVEfmt ", 1, 8, f);
    Put32(f, 16);
    Put16(f, 1);
    Put16(f, static_cast<uint16_t>(channels));
    Put32(f, static_cast<uint32_t>(rate));
    Put32(f, static_cast<uint32_t>(rate * channels * 2));
    Put16(f, static_cast<uint16_t>(channels * 2));
    Put16(f, 16);
    std::fwrite("data", 1, 4, f);
    Put32(f, dataBytes);
    for (int16_t s : samples) Put16(f, static_cast<uint16_t>(s));
    const bool ok = std::ferror(f) == 0;
    return std::fclose(f) == 0 && ok;
}

}  // namespace media
