// What the game does with a sound file, on any bytes: open it, decode it all
// at the device's rate (a buffered sound), go back to the start and read on
// (a looping stream).
#pragma once

#include <cstdlib>
#include <memory>
#include <vector>

#include "media/sound/AudioDecoder.h"
#include "media/sound/ByteSource.h"
#include "media/sound/SoundDecoding.h"

namespace fuzz {

using SoundOpener = std::unique_ptr<media::AudioDecoder> (*)(std::unique_ptr<media::ByteSource>);

inline void DecodeSound(SoundOpener open, const uint8_t* data, size_t size) {
    constexpr int kDeviceRate = 48000;
    constexpr int kPiece = 1024;
    std::unique_ptr<media::AudioDecoder> decoder =
        open(media::MakeMemorySource(std::vector<uint8_t>(data, data + size)));
    if (!decoder) return;
    if (decoder->Rate() < media::kMinSoundRate || decoder->Rate() > media::kMaxSoundRate) std::abort();
    std::vector<int16_t> pcm;
    media::DecodeAll(*decoder, kDeviceRate, int64_t{kDeviceRate} * 2, pcm);  // two seconds are plenty
    if (!decoder->Rewind()) return;
    std::vector<int16_t> piece(2 * kPiece);
    for (int i = 0; i < 4; ++i) {
        const int got = decoder->Read(piece.data(), kPiece);
        if (got < 0 || got > kPiece) std::abort();
        if (got == 0) break;
    }
}

}  // namespace fuzz
