#include "media/sound/SoundDecoding.h"

#include <new>

#include "media/sound/Resampler.h"

namespace media {

SoundDecodeResult DecodeAll(AudioDecoder& decoder, int deviceRate, int64_t maxFrames, std::vector<int16_t>& pcm) {
    constexpr int kPiece = 4096;
    Resampler resampler(decoder.Rate(), deviceRate);
    std::vector<int16_t> in(static_cast<size_t>(kPiece) * 2);
    std::vector<int16_t> out(static_cast<size_t>(kPiece) * 2);
    pcm.clear();
    try {
        while (true) {
            const int got = decoder.Read(in.data(), kPiece);
            if (got <= 0) break;
            int offset = 0;
            while (offset < got) {
                int consumed = 0;
                const int made =
                    resampler.Process(in.data() + 2 * offset, got - offset, out.data(), kPiece, &consumed);
                offset += consumed;
                if (static_cast<int64_t>(pcm.size() / 2) + made > maxFrames) return SoundDecodeResult::TooLarge;
                pcm.insert(pcm.end(), out.begin(), out.begin() + 2 * made);
                if (made == 0 && consumed == 0) break;
            }
        }
    } catch (const std::bad_alloc&) {
        pcm.clear();
        pcm.shrink_to_fit();
        return SoundDecodeResult::TooLarge;
    }
    return pcm.empty() ? SoundDecodeResult::Unreadable : SoundDecodeResult::Ok;
}

SoundDecodeResult DecodeWholeFile(const std::string& path, int deviceRate, std::vector<int16_t>& pcm) {
    std::unique_ptr<AudioDecoder> decoder = OpenAudioDecoder(LoadMemorySource(path));
    if (!decoder) return SoundDecodeResult::Unreadable;
    const SoundDecodeResult result =
        DecodeAll(*decoder, deviceRate, static_cast<int64_t>(deviceRate) * kMaxBufferedSeconds, pcm);
    if (result != SoundDecodeResult::Ok) {
        pcm.clear();
        pcm.shrink_to_fit();
    }
    return result;
}

std::unique_ptr<AudioDecoder> OpenStreamDecoder(const std::string& path, int mode) {
    return OpenAudioDecoder(mode == 1 ? OpenFileSource(path) : OpenHoldingSource(path));
}

}  // namespace media
