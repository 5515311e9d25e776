#include "media/sound/TailFader.h"

#include <algorithm>

#include "media/sound/Mixer.h"

namespace media {

TailFader::Tail& TailFader::FreeSlot() {
    Tail* best = &m_tails[0];
    for (Tail& tail : m_tails) {
        if (tail.position >= tail.length) return tail;
        if (tail.position > best->position) best = &tail;
    }
    return *best;
}

void TailFader::Take(const Voice& voice) {
    Tail& tail = FreeSlot();
    tail.length = voice.Upcoming(tail.frames.data(), kFadeFrames);
    tail.position = 0;
    tail.gainQ16 = voice.appliedGainQ16;
}

void TailFader::MixInto(int32_t* acc, int frames) {
    for (Tail& tail : m_tails) {
        const int end = std::min(tail.length, tail.position + frames);
        for (int k = tail.position; k < end; ++k) {
            // A straight line from the voice's gain down to zero over kFadeFrames.
            const int64_t gain = static_cast<int64_t>(tail.gainQ16) * (kFadeFrames - k) / kFadeFrames;
            int32_t* out = acc + 2 * (k - tail.position);
            out[0] += static_cast<int32_t>((tail.frames[2 * static_cast<size_t>(k)] * gain) >> 16);
            out[1] += static_cast<int32_t>((tail.frames[2 * static_cast<size_t>(k) + 1] * gain) >> 16);
        }
        tail.position = std::max(tail.position, end);
    }
}

}  // namespace media
