#include "media/sound/BufferedSound.h"

#include <algorithm>
#include <cmath>

#include "media/sound/VolumeLaw.h"

namespace media {

class BufferedSound::Buffer final : public Voice {
public:
    explicit Buffer(const std::vector<int16_t>& pcm) : m_pcm(pcm) {}

    void MixInto(int32_t* acc, int frames) override {
        const size_t total = m_pcm.size() / 2;
        int done = 0;
        while (done < frames) {
            if (position >= total) {
                if (looping && total > 0) {
                    position = 0;
                } else {
                    playing = false;
                    position = 0;
                    return;
                }
            }
            const int n = static_cast<int>(std::min<size_t>(static_cast<size_t>(frames - done), total - position));
            AddFrames(acc + 2 * done, m_pcm.data() + 2 * position, n);
            position += static_cast<size_t>(n);
            done += n;
        }
    }

    int Upcoming(int16_t* out, int frames) const override {
        const size_t total = m_pcm.size() / 2;
        size_t at = position;
        int copied = 0;
        while (copied < frames && total > 0) {
            if (at >= total) {
                if (!looping) break;
                at = 0;
            }
            const size_t n = std::min<size_t>(static_cast<size_t>(frames - copied), total - at);
            std::copy_n(m_pcm.data() + 2 * at, 2 * n, out + 2 * copied);
            at += n;
            copied += static_cast<int>(n);
        }
        return copied;
    }

    size_t position = 0;  // frames
    bool looping = false;

private:
    const std::vector<int16_t>& m_pcm;
};

BufferedSound::BufferedSound(Mixer& mixer, std::vector<int16_t> pcm, int bufferCount)
    : m_mixer(mixer), m_pcm(std::move(pcm)) {
    const int count = std::clamp(bufferCount, 1, kMaxPlaybackBuffers);
    for (int i = 0; i < count; ++i) {
        m_buffers.push_back(std::make_unique<Buffer>(m_pcm));
        m_mixer.AddVoice(m_buffers.back().get());
    }
    m_lastUsed = count - 1;  // the first play takes buffer 0
}

BufferedSound::~BufferedSound() {
    for (auto& buffer : m_buffers) m_mixer.RemoveVoice(buffer.get());
}

void BufferedSound::Play(int playType, bool fromTop) {
    const int next = (m_lastUsed + 1) % static_cast<int>(m_buffers.size());
    std::lock_guard<std::mutex> guard(m_mixer.Lock());
    Buffer& buffer = *m_buffers[static_cast<size_t>(next)];
    if (buffer.playing && !fromTop) return;
    m_mixer.Cut(buffer);
    buffer.position = fromTop ? 0 : m_buffers[static_cast<size_t>(m_lastUsed)]->position;
    buffer.looping = playType == 3;
    buffer.gainQ16 = VoiceGainQ16(level, playType);
    m_mixer.Start(buffer);
    m_lastUsed = next;
    lastPlayType = playType;
}

void BufferedSound::Stop() {
    std::lock_guard<std::mutex> guard(m_mixer.Lock());
    for (auto& buffer : m_buffers) m_mixer.Cut(*buffer);
}

bool BufferedSound::IsPlaying() { return PlayingBuffers() > 0; }

int BufferedSound::PlayingBuffers() {
    std::lock_guard<std::mutex> guard(m_mixer.Lock());
    int n = 0;
    for (auto& buffer : m_buffers) n += buffer->playing ? 1 : 0;
    return n;
}

void BufferedSound::SetLevel(int hundredthsDb) {
    level = hundredthsDb;
    const int32_t gain = VoiceGainQ16(hundredthsDb, lastPlayType);
    std::lock_guard<std::mutex> guard(m_mixer.Lock());
    for (auto& buffer : m_buffers) buffer->gainQ16 = gain;
}

}  // namespace media
