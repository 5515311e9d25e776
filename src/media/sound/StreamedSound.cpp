#include "media/sound/StreamedSound.h"

#include <algorithm>
#include <cmath>

#include "media/sound/VolumeLaw.h"

namespace media {

namespace {
constexpr int kPieceFrames = 2048;
}

class StreamedSound::StreamVoice final : public Voice {
public:
    StreamVoice(int capacity, int startFill) : ring(capacity), m_startFill(startFill) {}

    void MixInto(int32_t* acc, int frames) override {
        if (!primed) {
            // Just started: nothing is heard until the feeder is well ahead.
            if (ring.Available() < m_startFill && !ended.load(std::memory_order_acquire)) return;
            primed = true;
        }
        const int n = std::min(frames, ring.Available());
        int done = 0;
        ring.Peek(n, [&](const int16_t* in, int count) {
            AddFrames(acc + 2 * done, in, count);
            done += count;
        });
        ring.Consume(n);
        // The end of a sound that does not loop: stop once everything decoded has played.
        if (n < frames && ended.load(std::memory_order_acquire) && ring.Available() == 0) {
            playing = false;
            finished = true;
        }
    }

    int Upcoming(int16_t* out, int frames) const override {
        if (!primed) return 0;  // nothing would be heard next
        const int n = std::min(frames, ring.Available());
        int copied = 0;
        ring.Peek(n, [&](const int16_t* in, int count) {
            std::copy_n(in, 2 * count, out + 2 * copied);
            copied += count;
        });
        return n;
    }

    SampleRing ring;
    std::atomic<bool> ended{false};  // the producer has written the last frame
    bool finished = false;           // played to its end (guarded by the mixer lock)
    bool primed = false;             // started being heard since the last Play (mixer lock)

private:
    int m_startFill;
};

StreamedSound::StreamedSound(Mixer& mixer, std::unique_ptr<AudioDecoder> decoder, int deviceRate)
    : m_mixer(mixer),
      m_decoder(std::move(decoder)),
      m_resampler(m_decoder->Rate(), deviceRate),
      m_voice(std::make_unique<StreamVoice>(deviceRate * 3 / 4, deviceRate / 5)),
      m_pending(static_cast<size_t>(kPieceFrames) * 2),
      m_converted(static_cast<size_t>(kPieceFrames) * 2) {}

std::unique_ptr<StreamedSound> StreamedSound::Open(Mixer& mixer, std::unique_ptr<AudioDecoder> decoder,
                                                   int deviceRate) {
    if (!decoder || deviceRate <= 0) return nullptr;
    std::unique_ptr<StreamedSound> sound(new StreamedSound(mixer, std::move(decoder), deviceRate));
    if (!sound->DecodePiece()) return nullptr;  // no sound in it at all
    mixer.AddVoice(sound->m_voice.get());
    return sound;
}

StreamedSound::~StreamedSound() { m_mixer.RemoveVoice(m_voice.get()); }

bool StreamedSound::DecodePiece() {
    const int n = m_decoder->Read(m_pending.data(), kPieceFrames);
    if (n <= 0) return false;
    m_pendingStart = 0;
    m_pendingFrames = n;
    m_framesSinceStart += n;
    return true;
}

void StreamedSound::Play(int playType, bool fromTop) {
    bool restart = fromTop;
    {
        std::lock_guard<std::mutex> guard(m_mixer.Lock());
        if (!fromTop && m_voice->playing) return;
        m_mixer.Cut(*m_voice);
        if (m_voice->finished) restart = true;  // played to its end: starts over
    }
    if (restart) Restart();
    m_looping = playType == 3;
    lastPlayType = playType;
    if (m_looping && m_sourceEnded && m_framesSinceStart > 0) {
        // The data had ended while it played once; a loop goes on from the start.
        m_sourceEnded = false;
        m_voice->ended.store(false, std::memory_order_release);
    }
    std::lock_guard<std::mutex> guard(m_mixer.Lock());
    m_voice->finished = false;
    m_voice->primed = false;
    m_voice->gainQ16 = VoiceGainQ16(level, playType);
    m_mixer.Start(*m_voice);
}

void StreamedSound::Restart() {
    m_voice->ring.Clear();
    m_voice->ended.store(false, std::memory_order_release);
    m_voice->finished = false;
    m_resampler.Reset();
    m_pendingStart = m_pendingFrames = 0;
    m_framesSinceStart = 0;
    m_sourceEnded = !m_decoder->Rewind();
    if (m_sourceEnded) m_voice->ended.store(true, std::memory_order_release);
}

void StreamedSound::Stop() {
    std::lock_guard<std::mutex> guard(m_mixer.Lock());
    m_mixer.Cut(*m_voice);
}

bool StreamedSound::IsPlaying() {
    std::lock_guard<std::mutex> guard(m_mixer.Lock());
    return m_voice->playing;
}

void StreamedSound::SetLevel(int hundredthsDb) {
    level = hundredthsDb;
    std::lock_guard<std::mutex> guard(m_mixer.Lock());
    m_voice->gainQ16 = VoiceGainQ16(hundredthsDb, lastPlayType);
}

int StreamedSound::Buffered() const { return m_voice->ring.Available(); }

void StreamedSound::Feed() {
    if (IsPlaying()) FeedUpTo(m_voice->ring.Capacity());  // a stopped stream keeps what it has
}

bool StreamedSound::FeedPiece() {
    const SampleRing& ring = m_voice->ring;
    if (m_sourceEnded || !IsPlaying()) return false;
    FeedUpTo(std::min(ring.Capacity(), ring.Available() + kPieceFrames));
    return !m_sourceEnded && ring.Available() < ring.Capacity();
}

bool StreamedSound::Hungry() {
    const SampleRing& ring = m_voice->ring;
    return !m_sourceEnded && ring.Available() < ring.Capacity() / 2 && IsPlaying();
}

void StreamedSound::FeedUpTo(int limit) {
    SampleRing& ring = m_voice->ring;
    // At most what was missing when the call began: a device that drains the
    // ring as fast as it is filled cannot keep the caller here for ever.
    int owed = limit - ring.Available();
    while (!m_sourceEnded && owed > 0) {
        if (m_pendingFrames == 0 && !DecodePiece()) {
            // The end of the data: a loop goes back to the first frame (when there was one).
            if (m_looping && m_framesSinceStart > 0 && m_decoder->Rewind()) {
                m_framesSinceStart = 0;
                if (DecodePiece()) continue;
            }
            m_sourceEnded = true;
            m_voice->ended.store(true, std::memory_order_release);
            break;
        }
        const int room = std::min({ring.Free(), owed, kPieceFrames});
        if (room <= 0) break;
        int consumed = 0;
        const int made = m_resampler.Process(m_pending.data() + 2 * m_pendingStart, m_pendingFrames,
                                             m_converted.data(), room, &consumed);
        m_pendingStart += consumed;
        m_pendingFrames -= consumed;
        ring.Write(m_converted.data(), made);
        owed -= made;
    }
}

}  // namespace media
