// The replay's --audio-out: each frame, the mix pulled from the headless sound
// device appended to a WAV file, exactly kFramesPerFrame stereo frames (48 kHz),
// through one buffer kept for the whole run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "media/sound/WavWriter.h"

namespace replay {

class AudioOut {
public:
    static constexpr int kRate = 48000;
    static constexpr int kFramesPerFrame = 768;  // 48000 / 62.5

    bool Open(const std::string& path);
    // Pulls one frame of sound and appends it; false once writing failed.
    bool WriteFrame();
    // False when anything failed.
    bool Close();

private:
    media::WavWriter m_wav;
    std::vector<int16_t> m_samples = std::vector<int16_t>(2 * kFramesPerFrame);
};

}  // namespace replay
