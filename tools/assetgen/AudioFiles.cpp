#include "AudioFiles.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace assetgen {

namespace {

int16_t ToPcm(float v) {
  long s = std::lround(double(v) * 32767.0);
  return int16_t(std::clamp(s, -32767L, 32767L));
}

void Put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  Put16(b, v & 0xffff);
  Put16(b, v >> 16);
}

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

}  // namespace

void WriteWav(const StereoBuffer& sound, bool mono, const std::string& path) {
  const uint32_t channels = mono ? 1 : 2;
  const uint32_t dataSize = uint32_t(sound.Frames()) * channels * 2;
  std::vector<uint8_t> b;
  b.reserve(44 + dataSize);
  for (char c : std::string("RIFF")) b.push_back(uint8_t(c));
  Put32(b, 36 + dataSize);
  for (char c : std::string("WAVEfmt ")) b.push_back(uint8_t(c));
  Put32(b, 16);
  Put16(b, 1);  // PCM
  Put16(b, channels);
  Put32(b, kSampleRate);
  Put32(b, kSampleRate * channels * 2);
  Put16(b, channels * 2);
  Put16(b, 16);
  for (char c : std::string("data")) b.push_back(uint8_t(c));
  Put32(b, dataSize);
  for (size_t n = 0; n < sound.Frames(); ++n) {
    if (mono) {
      Put16(b, uint16_t(ToPcm(0.5f * (sound.left[n] + sound.right[n]))));
    } else {
      Put16(b, uint16_t(ToPcm(sound.left[n])));
      Put16(b, uint16_t(ToPcm(sound.right[n])));
    }
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
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
