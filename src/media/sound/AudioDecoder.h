// Decoders turn a sound file's bytes into 16-bit stereo frames at the file's
// own rate. The format is told by the bytes, not by the file name.
#pragma once

#include <cstdint>
#include <memory>

#include "media/sound/ByteSource.h"

namespace media {

class AudioDecoder {
public:
    virtual ~AudioDecoder() = default;
    // Decodes up to `frames` stereo frames (interleaved L, R) into out; the
    // number decoded, 0 at the end of the data (errors end the data too).
    virtual int Read(int16_t* out, int frames) = 0;
    // Goes back to the first frame. False when that is impossible.
    virtual bool Rewind() = 0;
    // Frames per second of the decoded data.
    virtual int Rate() const = 0;
};

// Rates a sound file may have.
constexpr int kMinSoundRate = 4000;
constexpr int kMaxSoundRate = 192000;

// A decoder for a WAV (PCM), Ogg Vorbis or MP3 stream, chosen by its first
// bytes; null when the data is none of them or its format cannot be read.
std::unique_ptr<AudioDecoder> OpenAudioDecoder(std::unique_ptr<ByteSource> source);

std::unique_ptr<AudioDecoder> OpenWavDecoder(std::unique_ptr<ByteSource> source);
std::unique_ptr<AudioDecoder> OpenVorbisDecoder(std::unique_ptr<ByteSource> source);
std::unique_ptr<AudioDecoder> OpenMp3Decoder(std::unique_ptr<ByteSource> source);

}  // namespace media
