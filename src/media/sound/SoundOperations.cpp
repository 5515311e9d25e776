// The public sound operations: load, play, stop, volume, delete.
#include <memory>
#include <string>

#include "media/Media.h"
#include "media/sound/SoundOperations.h"
#include "media/core/MediaAvTexts.h"
#include "media/core/OperationLock.h"
#include "media/platform/Platform.h"
#include "media/sound/BufferedSound.h"
#include "media/sound/SoundDecoding.h"
#include "media/sound/SoundFileCheck.h"
#include "media/sound/SoundOutput.h"
#include "media/sound/SoundSystem.h"
#include "media/sound/StreamedSound.h"
#include "media/sound/VolumeLaw.h"

namespace {

constexpr const char kUndecodable[] = "cannot be decoded as WAV, MP3 or Ogg Vorbis";
constexpr const char kNoFreeHandle[] = "finds no free sound handle";

// Play type 0: pumps messages until the sound has finished or the window is
// closed, feeding the sound itself (this thread holds the lock the feeder would
// need). Should nothing pull sound from the mixer (no device thread), the wait
// mixes the sound itself so that it still comes to an end.
void WaitUntilFinished(media::Sound& sound, int32_t handle) {
    media::Mixer* mixer = media::SoundMixer();
    uint64_t lastRendered = mixer->RenderedFrames();
    int idleMillis = 0;
    int16_t scratch[2 * 48];
    while (media::SoundTable().Find(handle) == &sound && sound.IsPlaying()) {
        if (ProcessMessage() == -1) break;
        sound.Feed();
        media::CurrentPlatform().SleepMillis(1);
        const uint64_t rendered = mixer->RenderedFrames();
        idleMillis = rendered == lastRendered ? idleMillis + 1 : 0;
        lastRendered = rendered;
        if (idleMillis >= 250) {
            mixer->Render(scratch, 48);
            lastRendered = mixer->RenderedFrames();
        }
    }
}

}  // namespace

int media::op::SetSoundDataMode(int mode) {
    media::OperationGuard guard;
    if (mode < 0 || mode > 3) return -1;
    media::SoundDataMode() = mode;
    return 0;
}

media::SoundMade media::MakeSound(const char* path, int mode, int bufferCount) {
    SoundMade made;
    CurrentPlatform().AwaitDataFile(path);  // a page may still be fetching it
    made.problem = SoundFileProblem(path);
    if (!made.problem.empty()) {
        made.failure =
            IsSoundFileTooLarge(made.problem) ? texts::kSoundLoadFailedBuffers : texts::kSoundLoadFailedDecode;
        return made;
    }
    Mixer& mixer = *SoundMixer();
    const int rate = SoundOutputRate();
    if (mode == 0) {
        std::vector<int16_t> pcm;
        const SoundDecodeResult result = DecodeWholeFile(path, rate, pcm);
        if (result != SoundDecodeResult::Ok) {
            const bool tooLong = result == SoundDecodeResult::TooLarge;
            made.failure = tooLong ? texts::kSoundLoadFailedBuffers : texts::kSoundLoadFailedDecode;
            made.problem = tooLong ? "is too long to be held decoded" : kUndecodable;
            return made;
        }
        made.sound = std::make_unique<BufferedSound>(mixer, std::move(pcm), bufferCount);
    } else {
        made.sound = StreamedSound::Open(mixer, OpenStreamDecoder(path, mode), rate);
        if (!made.sound) {
            made.failure = texts::kSoundLoadFailedDecode;
            made.problem = kUndecodable;
            return made;
        }
    }
    made.sound->path = path;
    made.sound->bufferCount = bufferCount;
    made.sound->dataMode = mode;
    return made;
}

// Every failed load of a file logs a line naming it; while there is no sound
// output at all (already logged once) loads fail without a word.
int media::op::LoadSound(const char* path, int bufferCount, int /*unionHandle: always a new handle*/) {
    media::OperationGuard guard;
    if (!media::SoundOutputRunning() || !path) return -1;
    media::SoundMade made = media::MakeSound(path, media::SoundDataMode(), bufferCount);
    if (!made.sound) {
        media::ReportSoundLoadFailure(made.failure, path, made.problem);
        return -1;
    }
    const int32_t handle = media::SoundTable().Add(std::move(made.sound));
    if (handle < 0) media::ReportSoundLoadFailure(media::texts::kSoundLoadFailedBuffers, path, kNoFreeHandle);
    return handle;
}

int media::op::PlaySoundHandle(int handle, int playType, int fromTop) {
    media::OperationGuard guard;
    media::Sound* sound = media::SoundTable().Find(handle);
    if (!sound || (playType != 0 && playType != 1 && playType != 3)) return -1;
    sound->Play(playType, fromTop != 0);
    media::KeepStreamsFed();  // a stream is fed off this thread from now on
    sound->lastStartMillis = media::CurrentPlatform().NowMillis();
    if (playType == 0) WaitUntilFinished(*sound, handle);
    return 0;
}

int media::op::StopSoundHandle(int handle) {
    media::OperationGuard guard;
    media::Sound* sound = media::SoundTable().Find(handle);
    if (!sound) return -1;
    sound->Stop();
    return 0;
}

int media::op::SetSoundVolume(int volume, int handle) {
    media::OperationGuard guard;
    media::Sound* sound = media::SoundTable().Find(handle);
    if (!sound) return -1;
    sound->SetLevel(media::VolumeToHundredthsDb(volume));
    return 0;
}

int media::op::DeleteSound(int handle, int /*flag: ignored*/) {
    media::OperationGuard guard;
    std::unique_ptr<media::Sound> sound = media::SoundTable().Remove(handle);
    if (!sound) return -1;
    sound->Stop();
    return 0;  // the sound's voices leave the mixer as it is destroyed
}
