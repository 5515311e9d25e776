// A sound decoded whole at load time, played from up to 10 playback buffers of
// its own used round robin, so that an effect played again while it sounds
// overlaps itself.
#pragma once

#include <memory>
#include <vector>

#include "media/sound/Mixer.h"
#include "media/sound/Sound.h"

namespace media {

constexpr int kMaxPlaybackBuffers = 10;

class BufferedSound final : public Sound {
public:
    // pcm: stereo frames at the device rate.
    BufferedSound(Mixer& mixer, std::vector<int16_t> pcm, int bufferCount);
    ~BufferedSound() override;

    void Play(int playType, bool fromTop) override;
    void Stop() override;
    bool IsPlaying() override;
    void SetLevel(int hundredthsDb) override;

    int BufferCount() const { return static_cast<int>(m_buffers.size()); }
    // Buffers playing now (for tests).
    int PlayingBuffers();

private:
    class Buffer;
    Mixer& m_mixer;
    std::vector<int16_t> m_pcm;
    std::vector<std::unique_ptr<Buffer>> m_buffers;
    int m_lastUsed;
};

}  // namespace media
