// Writes 16-bit stereo frames as a PCM WAV file (what the headless mixer heard,
// test sounds).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace media {

// samples: interleaved, `channels` per frame (1 or 2). False when the file cannot be written.
bool WriteWavFile(const std::string& path, const std::vector<int16_t>& samples, int rate, int channels = 2);

}  // namespace media
