// The few milliseconds that follow the moment a playing voice is cut, played on
// and ramped down to zero, so that stopping a sound never steps the output.
// Its storage is fixed when built: taking and mixing a tail never allocate.
// Guarded by the mixer's lock.
#pragma once

#include <array>
#include <cstdint>

namespace media {

class Voice;

class TailFader {
public:
    // 5 ms at 48 kHz.
    static constexpr int kFadeFrames = 240;

    // Keeps the frames `voice` would mix next (at most kFadeFrames) at its gain.
    // When every slot is busy, the tail closest to its end makes room.
    void Take(const Voice& voice);
    // Adds the next `frames` frames of every tail, ramped down, to acc (interleaved L, R).
    void MixInto(int32_t* acc, int frames);

private:
    struct Tail {
        std::array<int16_t, 2 * kFadeFrames> frames{};
        int length = 0;    // frames kept
        int position = 0;  // frames played; the tail is free once position >= length
        int32_t gainQ16 = 0;
    };
    Tail& FreeSlot();

    std::array<Tail, 16> m_tails{};
};

}  // namespace media
