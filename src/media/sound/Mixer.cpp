#include "media/sound/Mixer.h"

#include <algorithm>
#include <cstring>

namespace media {

Mixer::Mixer() : m_acc(static_cast<size_t>(kBlockFrames) * 2) { m_voices.reserve(64); }

void Mixer::AddVoice(Voice* voice) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_voices.push_back(voice);
}

void Mixer::RemoveVoice(Voice* voice) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_voices.erase(std::remove(m_voices.begin(), m_voices.end(), voice), m_voices.end());
}

void Voice::AddFrames(int32_t* acc, const int16_t* in, int frames) {
    constexpr int32_t kStep = 65536 / TailFader::kFadeFrames + 1;
    int done = 0;
    for (; done < frames && appliedGainQ16 != gainQ16; ++done) {
        appliedGainQ16 = gainQ16 > appliedGainQ16 ? std::min(gainQ16, appliedGainQ16 + kStep)
                                                  : std::max(gainQ16, appliedGainQ16 - kStep);
        AddScaled(acc + 2 * done, in + 2 * done, 1, appliedGainQ16);
    }
    AddScaled(acc + 2 * done, in + 2 * done, frames - done, appliedGainQ16);
}

void Mixer::Start(Voice& voice) {
    voice.playing = true;
    voice.sounded = false;
    voice.appliedGainQ16 = voice.gainQ16;
}

void Mixer::Cut(Voice& voice) {
    if (voice.playing && voice.sounded) m_fader.Take(voice);
    voice.playing = false;
}

void Mixer::Render(int16_t* out, int frames) {
    if (m_silenced.load(std::memory_order_relaxed)) {
        std::memset(out, 0, static_cast<size_t>(frames > 0 ? frames : 0) * 2 * sizeof(int16_t));
        return;
    }
    while (frames > 0) {
        const int n = std::min(frames, kBlockFrames);
        // The accumulator is shared: a wait for a sound that mixes by itself
        // while the device is held up may render beside the device's thread.
        std::lock_guard<std::mutex> guard(m_lock);
        int32_t* acc = m_acc.data();
        std::memset(acc, 0, static_cast<size_t>(n) * 2 * sizeof(int32_t));
        for (Voice* voice : m_voices)
            if (voice->playing) {
                voice->MixInto(acc, n);
                voice->sounded = true;
            }
        m_fader.MixInto(acc, n);
        for (int i = 0; i < n * 2; ++i) out[i] = static_cast<int16_t>(std::clamp(acc[i], -32768, 32767));
        out += n * 2;
        frames -= n;
        m_rendered.fetch_add(static_cast<uint64_t>(n), std::memory_order_relaxed);
    }
}

void Mixer::Callback(void* user, int16_t* out, int frames) { static_cast<Mixer*>(user)->Render(out, frames); }

}  // namespace media
