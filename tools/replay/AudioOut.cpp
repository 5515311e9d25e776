#include "replay/AudioOut.h"

#include "media/headless/HeadlessControls.h"

namespace replay {

bool AudioOut::Open(const std::string& path) { return m_wav.Open(path, kRate); }

bool AudioOut::WriteFrame() {
    media::headless::RenderAudio(m_samples.data(), kFramesPerFrame);
    return m_wav.Write(m_samples.data(), m_samples.size());
}

bool AudioOut::Close() { return m_wav.Close(); }

}  // namespace replay
