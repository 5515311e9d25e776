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
    StreamVoice(int capacity, int startFill) : ring(capacity), startFill_(startFill) {}

    void MixInto(int32_t* acc, int frames) override {
        if (!primed) {
            // Just started: nothing is heard until the feeder is well ahead.
            if (ring.Available() < startFill_ && !ended.load(std::memory_order_acquire)) return;
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
    int startFill_;
};

StreamedSound::StreamedSound(Mixer& mixer, std::unique_ptr<AudioDecoder> decoder, int deviceRate)
    : mixer_(mixer),
      decoder_(std::move(decoder)),
      resampler_(decoder_->Rate(), deviceRate),
      voice_(std::make_unique<StreamVoice>(deviceRate * 3 / 4, deviceRate / 5)),
      pending_(static_cast<size_t>(kPieceFrames) * 2),
      converted_(static_cast<size_t>(kPieceFrames) * 2) {}

std::unique_ptr<StreamedSound> StreamedSound::Open(Mixer& mixer, std::unique_ptr<AudioDecoder> decoder,
                                                   int deviceRate) {
    if (!decoder || deviceRate <= 0) return nullptr;
    std::unique_ptr<StreamedSound> sound(new StreamedSound(mixer, std::move(decoder), deviceRate));
    if (!sound->DecodePiece()) return nullptr;  // no sound in it at all
    mixer.AddVoice(sound->voice_.get());
    return sound;
}

StreamedSound::~StreamedSound() { mixer_.RemoveVoice(voice_.get()); }

bool StreamedSound::DecodePiece() {
    const int n = decoder_->Read(pending_.data(), kPieceFrames);
    if (n <= 0) return false;
    pendingStart_ = 0;
    pendingFrames_ = n;
    framesSinceStart_ += n;
    return true;
}

void StreamedSound::Play(int playType, bool fromTop) {
    bool restart = fromTop;
    {
        std::lock_guard<std::mutex> guard(mixer_.Lock());
        if (!fromTop && voice_->playing) return;
        mixer_.Cut(*voice_);
        if (voice_->finished) restart = true;  // played to its end: starts over
    }
    if (restart) Restart();
    looping_ = playType == 3;
    lastPlayType = playType;
    if (looping_ && sourceEnded_ && framesSinceStart_ > 0) {
        // The data had ended while it played once; a loop goes on from the start.
        sourceEnded_ = false;
        voice_->ended.store(false, std::memory_order_release);
    }
    std::lock_guard<std::mutex> guard(mixer_.Lock());
    voice_->finished = false;
    voice_->primed = false;
    voice_->gainQ16 = VoiceGainQ16(level, playType);
    mixer_.Start(*voice_);
}

void StreamedSound::Restart() {
    voice_->ring.Clear();
    voice_->ended.store(false, std::memory_order_release);
    voice_->finished = false;
    resampler_.Reset();
    pendingStart_ = pendingFrames_ = 0;
    framesSinceStart_ = 0;
    sourceEnded_ = !decoder_->Rewind();
    if (sourceEnded_) voice_->ended.store(true, std::memory_order_release);
}

void StreamedSound::Stop() {
    std::lock_guard<std::mutex> guard(mixer_.Lock());
    mixer_.Cut(*voice_);
}

bool StreamedSound::IsPlaying() {
    std::lock_guard<std::mutex> guard(mixer_.Lock());
    return voice_->playing;
}

void StreamedSound::SetLevel(int hundredthsDb) {
    level = hundredthsDb;
    std::lock_guard<std::mutex> guard(mixer_.Lock());
    voice_->gainQ16 = VoiceGainQ16(hundredthsDb, lastPlayType);
}

int StreamedSound::Buffered() const { return voice_->ring.Available(); }

void StreamedSound::Feed() {
    if (IsPlaying()) FeedUpTo(voice_->ring.Capacity());  // a stopped stream keeps what it has
}

bool StreamedSound::FeedPiece() {
    const SampleRing& ring = voice_->ring;
    if (sourceEnded_ || !IsPlaying()) return false;
    FeedUpTo(std::min(ring.Capacity(), ring.Available() + kPieceFrames));
    return !sourceEnded_ && ring.Available() < ring.Capacity();
}

bool StreamedSound::Hungry() {
    const SampleRing& ring = voice_->ring;
    return !sourceEnded_ && ring.Available() < ring.Capacity() / 2 && IsPlaying();
}

void StreamedSound::FeedUpTo(int limit) {
    SampleRing& ring = voice_->ring;
    // At most what was missing when the call began: a device that drains the
    // ring as fast as it is filled cannot keep the caller here for ever.
    int owed = limit - ring.Available();
    while (!sourceEnded_ && owed > 0) {
        if (pendingFrames_ == 0 && !DecodePiece()) {
            // The end of the data: a loop goes back to the first frame (when there was one).
            if (looping_ && framesSinceStart_ > 0 && decoder_->Rewind()) {
                framesSinceStart_ = 0;
                if (DecodePiece()) continue;
            }
            sourceEnded_ = true;
            voice_->ended.store(true, std::memory_order_release);
            break;
        }
        const int room = std::min({ring.Free(), owed, kPieceFrames});
        if (room <= 0) break;
        int consumed = 0;
        const int made = resampler_.Process(pending_.data() + 2 * pendingStart_, pendingFrames_, converted_.data(),
                                            room, &consumed);
        pendingStart_ += consumed;
        pendingFrames_ -= consumed;
        ring.Write(converted_.data(), made);
        owed -= made;
    }
}

}  // namespace media
