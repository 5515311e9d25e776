// Test sounds made at run time in a temporary folder: tones written as WAV,
// MP3 made with the lame encoder when it is installed, broken files.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "media/sound/WavWriter.h"

namespace testaudio {

// Interleaved stereo sine: `frames` frames at `rate`, `freq` Hz, peak `amplitude`.
inline std::vector<int16_t> Tone(int frames, int rate, double freq, double amplitude) {
    std::vector<int16_t> s(static_cast<size_t>(frames) * 2);
    for (int i = 0; i < frames; ++i) {
        const auto v = static_cast<int16_t>(std::lround(amplitude * std::sin(2.0 * M_PI * freq * i / rate)));
        s[2 * static_cast<size_t>(i)] = v;
        s[2 * static_cast<size_t>(i) + 1] = v;
    }
    return s;
}

// Constant level (a DC "sound"): easy to check sums and gains on.
inline std::vector<int16_t> Level(int frames, int16_t value) {
    return std::vector<int16_t>(static_cast<size_t>(frames) * 2, value);
}

inline std::string WriteStereoWav(const testsupport::ScratchFolder& dir, const std::string& name,
                                  const std::vector<int16_t>& s, int rate) {
    const std::string path = dir.File(name);
    media::WriteWavFile(path, s, rate, 2);
    return path;
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline bool HaveLame() { return std::system("command -v lame >/dev/null 2>&1") == 0; }

// Encodes a WAV to MP3 with lame (constant 128 kbit/s). False when lame failed.
inline bool EncodeMp3(const std::string& wav, const std::string& mp3, const std::string& extra = "") {
    const std::string command = "lame --quiet --cbr -b 128 " + extra + " '" + wav + "' '" + mp3 + "' 2>/dev/null";
    return std::system(command.c_str()) == 0;
}

// Largest change between neighbouring samples of one channel, over [from, to) frames.
inline int MaxStep(const std::vector<int16_t>& s, size_t from, size_t to, int channel = 0) {
    int worst = 0;
    for (size_t i = from + 1; i < to && i < s.size() / 2; ++i)
        worst = std::max(worst, std::abs(s[2 * i + channel] - s[2 * (i - 1) + channel]));
    return worst;
}

}  // namespace testaudio
