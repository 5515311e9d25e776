// A sound decoded piece by piece while it plays, with one playing position.
// Whoever feeds it (the stream feeder beside a device, the headless device's
// pull) decodes ahead into a ring under the operation lock; the mixer reads
// from the ring. Opening and starting it decode nothing ahead: once started it
// stays silent until the ring holds a fifth of a second (or all of a shorter
// sound), so it never starts with a gap.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "media/sound/AudioDecoder.h"
#include "media/sound/Mixer.h"
#include "media/sound/Resampler.h"
#include "media/sound/SampleRing.h"
#include "media/sound/Sound.h"

namespace media {

class StreamedSound final : public Sound {
public:
    // Null when the decoder gives no sound at all.
    static std::unique_ptr<StreamedSound> Open(Mixer& mixer, std::unique_ptr<AudioDecoder> decoder, int deviceRate);
    ~StreamedSound() override;

    void Play(int playType, bool fromTop) override;
    void Stop() override;
    bool IsPlaying() override;
    void SetLevel(int hundredthsDb) override;
    // While playing: decodes until the ring is full (or the data ends).
    void Feed() override;
    bool FeedPiece() override;
    bool Hungry() override;

    // Frames decoded ahead and waiting in the ring.
    int Buffered() const;

private:
    class StreamVoice;
    StreamedSound(Mixer& mixer, std::unique_ptr<AudioDecoder> decoder, int deviceRate);
    // Decodes until at most `limit` frames wait in the ring, writing no more
    // than were missing when it was called (the device may drain it meanwhile).
    void FeedUpTo(int limit);
    // Back to the first frame with nothing decoded ahead. Only while not playing.
    void Restart();
    // Decodes the next piece into m_pending; false at the end of the data.
    bool DecodePiece();

    Mixer& m_mixer;
    std::unique_ptr<AudioDecoder> m_decoder;
    Resampler m_resampler;
    std::unique_ptr<StreamVoice> m_voice;
    std::vector<int16_t> m_pending;  // decoded frames at the file's rate
    int m_pendingStart = 0, m_pendingFrames = 0;
    std::vector<int16_t> m_converted;  // frames at the device rate on their way to the ring
    bool m_looping = false;
    bool m_sourceEnded = false;
    int64_t m_framesSinceStart = 0;  // decoded since the first frame
};

}  // namespace media
