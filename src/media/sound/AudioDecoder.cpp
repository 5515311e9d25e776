#include "media/sound/AudioDecoder.h"

#include <cstring>

namespace media {

std::unique_ptr<AudioDecoder> OpenAudioDecoder(std::unique_ptr<ByteSource> source) {
    if (!source) return nullptr;
    uint8_t head[12] = {};
    const size_t got = source->Read(head, sizeof head);
    if (!source->Seek(0) || got < 4) return nullptr;
    if (got >= 12 && std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WAVE", 4) == 0)
        return OpenWavDecoder(std::move(source));
    if (std::memcmp(head, "OggS", 4) == 0) return OpenVorbisDecoder(std::move(source));
    return OpenMp3Decoder(std::move(source));
}

}  // namespace media
