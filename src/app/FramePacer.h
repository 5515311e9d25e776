// Frame pacing: frames start at least `interval` ms apart. The clock is the media
// layer's unsigned 32-bit millisecond clock, so elapsed time is computed modulo
// 2^32 and never overflows; a sleep is never longer than the interval.
#pragma once

#include <cstdint>

struct FramePacer {
    int32_t interval = 16;  // shortest frame period in ms
    uint32_t lastTick = 0;  // clock at the previous frame's pacing point
    bool paced = false;     // false until the first frame: the first frame never sleeps

    // Sleeps out the rest of the interval since the previous call, then notes the
    // clock value read before sleeping.
    void Pace();
};
