// Sound writers: 16-bit PCM WAV, and MP3 through the LAME encoder with its
// gapless header (encoder delay and padding), so a gapless decoder returns
// exactly the samples that went in.
#pragma once

#include <string>

#include "Synth.h"

namespace assetgen {

// 16-bit PCM; mono mixes both channels down. Throws on failure.
void WriteWav(const StereoBuffer& sound, bool mono, const std::string& path);
// Encodes with the `lame` program at `kbps` (constant bit rate). Throws on failure.
void WriteMp3(const StereoBuffer& sound, int kbps, const std::string& path);

}  // namespace assetgen
