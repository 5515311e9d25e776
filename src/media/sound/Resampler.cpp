#include "media/sound/Resampler.h"

namespace media {

Resampler::Resampler(int fromRate, int toRate)
    : m_step((static_cast<uint64_t>(fromRate) << 32) / static_cast<uint64_t>(toRate > 0 ? toRate : 1)) {}

void Resampler::Reset() {
    m_position = 0;
    m_primed = false;
    m_previous[0] = m_previous[1] = 0;
}

int Resampler::Process(const int16_t* in, int inFrames, int16_t* out, int outFrames, int* consumed) {
    int used = 0;
    if (!m_primed) {
        if (inFrames <= 0) {
            *consumed = 0;
            return 0;
        }
        m_previous[0] = in[0];
        m_previous[1] = in[1];
        m_primed = true;
        used = 1;
        in += 2;
        inFrames -= 1;
    }
    // Frame k of the window: k = 0 is m_previous, k >= 1 is in[k - 1].
    auto frame = [&](uint64_t k, int channel) -> int32_t {
        return k == 0 ? m_previous[channel] : in[2 * (k - 1) + channel];
    };
    int written = 0;
    while (written < outFrames) {
        const uint64_t k = m_position >> 32;
        const uint32_t t = static_cast<uint32_t>(m_position);
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
        m_position += m_step;
    }
    // Drop the input frames the position has passed; the last one dropped becomes m_previous.
    uint64_t drop = m_position >> 32;
    if (drop > static_cast<uint64_t>(inFrames)) drop = static_cast<uint64_t>(inFrames);
    if (drop > 0) {
        m_previous[0] = in[2 * (drop - 1)];
        m_previous[1] = in[2 * (drop - 1) + 1];
        m_position -= drop << 32;
    }
    *consumed = used + static_cast<int>(drop);
    return written;
}

int64_t ResampledLength(int64_t frames, int fromRate, int toRate) {
    if (frames <= 0 || fromRate <= 0) return 0;
    return (frames * toRate) / fromRate + 2;
}

}  // namespace media
