// Opening sound files for the two kinds of sound: decoded whole (buffered) or
// decoded while playing (streamed).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/sound/AudioDecoder.h"

namespace media {

// Longest sound decoded whole, in seconds.
constexpr int kMaxBufferedSeconds = 30 * 60;

enum class SoundDecodeResult { Ok, Unreadable, TooLarge };

// Decodes the whole file into stereo frames at deviceRate.
SoundDecodeResult DecodeWholeFile(const std::string& path, int deviceRate, std::vector<int16_t>& pcm);
// Decodes everything a decoder gives into stereo frames at deviceRate (at most maxFrames).
SoundDecodeResult DecodeAll(AudioDecoder& decoder, int deviceRate, int64_t maxFrames, std::vector<int16_t>& pcm);
// A decoder for a streamed sound: mode 1 reads the file as it plays, modes 2
// and 3 hold the file's bytes in memory, read in as they are first needed (so
// opening reads only the start).
std::unique_ptr<AudioDecoder> OpenStreamDecoder(const std::string& path, int mode);

}  // namespace media
