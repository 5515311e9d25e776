#include "media/sound/Resampler.h"

namespace media {

Resampler::Resampler(int fromRate, int toRate)
    : step_((static_cast<uint64_t>(fromRate) << 32) / static_cast<uint64_t>(toRate > 0 ? toRate : 1)) {}

void Resampler::Reset() {
    position_ = 0;
    primed_ = false;
    previous_[0] = previous_[1] = 0;
}

int Resampler::Process(const int16_t* in, int inFrames, int16_t* out, int outFrames, int* consumed) {
    int used = 0;
    if (!primed_) {
        if (inFrames <= 0) {
            *consumed = 0;
            return 0;
        }
        previous_[0] = in[0];
        previous_[1] = in[1];
        primed_ = true;
        used = 1;
        in += 2;
        inFrames -= 1;
    }
    // Frame k of the window: k = 0 is previous_, k >= 1 is in[k - 1].
    auto frame = [&](uint64_t k, int channel) -> int32_t {
        return k == 0 ? previous_[channel] : in[2 * (k - 1) + channel];
    };
    int written = 0;
    while (written < outFrames) {
        const uint64_t k = position_ >> 32;
        const uint32_t t = static_cast<uint32_t>(position_);
        if (t == 0 ? k > static_cast<uint64_t>(inFrames) : k + 1 > static_cast<uint64_t>(inFrames)) break;
        for (int channel = 0; channel < 2; ++channel) {
            const int32_t a = frame(k, channel);
            if (t == 0) {
                out[2 * written + channel] = static_cast<int16_t>(a);
            } else {
                const int32_t b = frame(k + 1, channel);
                out[2 * written + channel] = static_cast<int16_t>(a + ((static_cast<int64_t>(b - a) * t) >> 32));
            }
        }
        ++written;
        position_ += step_;
    }
    // Drop the input frames the position has passed; the last one dropped becomes previous_.
    uint64_t drop = position_ >> 32;
    if (drop > static_cast<uint64_t>(inFrames)) drop = static_cast<uint64_t>(inFrames);
    if (drop > 0) {
        previous_[0] = in[2 * (drop - 1)];
        previous_[1] = in[2 * (drop - 1) + 1];
        position_ -= drop << 32;
    }
    *consumed = used + static_cast<int>(drop);
    return written;
}

int64_t ResampledLength(int64_t frames, int fromRate, int toRate) {
    if (frames <= 0 || fromRate <= 0) return 0;
    return (frames * toRate) / fromRate + 2;
}

}  // namespace media
