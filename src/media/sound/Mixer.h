// Mixes every playing voice into the output: 16-bit stereo frames at the device
// rate, summed with saturation. A voice cut while it plays fades out over its
// next 5 ms, and a change of a voice's gain glides there within 5 ms, so the
// output never steps. Render runs on the audio thread; it takes only the
// mixer's own short lock (never the operation lock) and never allocates.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "media/sound/TailFader.h"

namespace media {

// Something the mixer plays. Its fields are guarded by the mixer's lock.
class Voice {
public:
    virtual ~Voice() = default;
    // Adds up to `frames` frames at its gain (through AddFrames) to acc
    // (interleaved L, R). Sets playing = false when it has come to its end.
    virtual void MixInto(int32_t* acc, int frames) = 0;
    // Copies up to `frames` of the frames it would mix next (unscaled, interleaved
    // L, R) without moving on; returns how many it copied.
    virtual int Upcoming(int16_t* out, int frames) const = 0;

    // Adds `frames` frames of `in` to acc, scaled by appliedGainQ16 / 65536.
    // appliedGainQ16 moves to gainQ16 by at most a full scale per
    // TailFader::kFadeFrames, so a change of volume never steps the output.
    void AddFrames(int32_t* acc, const int16_t* in, int frames);

    bool playing = false;
    bool sounded = false;            // mixed since it was last started
    int32_t gainQ16 = 65536;         // the gain asked for
    int32_t appliedGainQ16 = 65536;  // the gain it plays at; a start takes gainQ16 at once
};

class Mixer {
public:
    static constexpr int kBlockFrames = 1024;

    Mixer();

    // Held by the main thread for brief changes of voices; Render takes it per block.
    std::mutex& Lock() { return m_lock; }
    // Voices are added and removed under Lock().
    void AddVoice(Voice* voice);
    void RemoveVoice(Voice* voice);
    // Starts a voice, with Lock() held.
    void Start(Voice& voice);
    // Stops a voice, with Lock() held. When it has sounded since its start, what
    // it would have played next goes on for TailFader::kFadeFrames, ramped down
    // to zero, so the output never steps; the voice itself may be changed or
    // freed at once. A voice cut before it sounded leaves nothing behind.
    void Cut(Voice& voice);

    // Fills `frames` stereo frames.
    void Render(int16_t* out, int frames);
    // While silenced, Render gives silence and every voice waits where it is.
    void Silence(bool on) { m_silenced.store(on, std::memory_order_relaxed); }
    // Frames rendered so far.
    uint64_t RenderedFrames() const { return m_rendered.load(std::memory_order_relaxed); }

    // Platform audio callback; user is the Mixer.
    static void Callback(void* user, int16_t* out, int frames);

private:
    std::mutex m_lock;
    std::vector<Voice*> m_voices;
    std::vector<int32_t> m_acc;
    TailFader m_fader;
    std::atomic<uint64_t> m_rendered{0};
    std::atomic<bool> m_silenced{false};
};

// Adds `frames` stereo frames scaled by gainQ16 / 65536 to acc.
inline void AddScaled(int32_t* acc, const int16_t* in, int frames, int32_t gainQ16) {
    const int n = frames * 2;
    if (gainQ16 == 65536) {
        for (int i = 0; i < n; ++i) acc[i] += in[i];
    } else {
        for (int i = 0; i < n; ++i) acc[i] += static_cast<int32_t>((static_cast<int64_t>(in[i]) * gainQ16) >> 16);
    }
}

}  // namespace media
