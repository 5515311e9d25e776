#include "AudioFiles.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "media/sound/WavWriter.h"

namespace assetgen {

namespace {

int16_t ToPcm(float v) {
    long s = std::lround(double(v) * 32767.0);
    return int16_t(std::clamp(s, -32767L, 32767L));
}

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

}  // namespace

void WriteWav(const StereoBuffer& sound, bool mono, const std::string& path) {
    std::vector<int16_t> samples;
    samples.reserve(sound.Frames() * (mono ? 1 : 2));
    for (size_t n = 0; n < sound.Frames(); ++n) {
        if (mono) {
            samples.push_back(ToPcm(0.5f * (sound.left[n] + sound.right[n])));
        } else {
            samples.push_back(ToPcm(sound.left[n]));
            samples.push_back(ToPcm(sound.right[n]));
        }
    }
    if (!media::WriteWavFile(path, samples, kSampleRate, mono ? 1 : 2))
        throw std::runtime_error("cannot write " + path);
}

void WriteMp3(const StereoBuffer& sound, int kbps, const std::string& path) {
    namespace fs = std::filesystem;
    fs::path wav = fs::temp_directory_path() /
                   ("anagura-assetgen-" + std::to_string(::getpid()) + "-" + fs::path(path).stem().string() + ".wav");
    WriteWav(sound, false, wav.string());
    std::string cmd = "lame --quiet --noreplaygain --cbr -b " + std::to_string(kbps) + " -q 2 " +
                      Quote(wav.string()) + " " + Quote(path);
    int rc = std::system(cmd.c_str());
    std::error_code ec;
    fs::remove(wav, ec);
    if (rc != 0) throw std::runtime_error("lame failed (" + std::to_string(rc) + ") for " + path);
}

}  // namespace assetgen
