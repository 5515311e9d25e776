// Converts 16-bit stereo frames from one rate to another by linear
// interpolation. It keeps its place between calls, so a stream fed piece by
// piece (and across a loop back to its start) comes out without seams.
#pragma once

#include <cstdint>

namespace media {

class Resampler {
public:
    Resampler(int fromRate, int toRate);

    // Writes at most outFrames frames made from the input; `consumed` is set to
    // the input frames used up (the rest must be offered again). Returns the
    // frames written. Equal rates copy the input unchanged.
    int Process(const int16_t* in, int inFrames, int16_t* out, int outFrames, int* consumed);
    // Forgets the stream so far (the next input starts a new one).
    void Reset();

private:
    uint64_t m_step;          // input frames per output frame, 32.32 fixed point
    uint64_t m_position = 0;  // place of the next output frame after `m_previous`, 32.32
    int16_t m_previous[2] = {0, 0};
    bool m_primed = false;
};

// The number of output frames `frames` input frames give at most.
int64_t ResampledLength(int64_t frames, int fromRate, int toRate);

}  // namespace media
