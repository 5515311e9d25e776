// The public sound operations: load, play, stop, volume, delete.
#include <memory>
#include <string>

#include "media/BufferedSound.h"
#include "media/Log.h"
#include "media/Media.h"
#include "media/MediaAvTexts.h"
#include "media/OperationLock.h"
#include "media/Platform.h"
#include "media/SoundDecoding.h"
#include "media/SoundOutput.h"
#include "media/SoundSystem.h"
#include "media/StreamedSound.h"
#include "media/VolumeLaw.h"

namespace {

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

int SetSoundDataMode(int mode) {
    media::OperationGuard guard;
    if (mode < 0 || mode > 3) return -1;
    media::SoundDataMode() = mode;
    return 0;
}

int LoadSound(const char* path, int bufferCount, int /*unionHandle: always a new handle*/) {
    media::OperationGuard guard;
    if (!media::SoundOutputRunning() || !path) return -1;
    media::Mixer& mixer = *media::SoundMixer();
    const int rate = media::SoundOutputRate();
    const int mode = media::SoundDataMode();
    if (mode == 0) {
        std::vector<int16_t> pcm;
        const media::DecodeResult result = media::DecodeWholeFile(path, rate, pcm);
        if (result != media::DecodeResult::Ok) {
            media::LogPrintf(result == media::DecodeResult::TooLarge ? media::texts::kSoundLoadFailedBuffers
                                                                     : media::texts::kSoundLoadFailedDecode,
                             path);
            return -1;
        }
        const int32_t handle = media::SoundTable().Add(
            std::make_unique<media::BufferedSound>(mixer, std::move(pcm), bufferCount));
        if (handle < 0) media::LogPrintf(media::texts::kSoundLoadFailedBuffers, path);
        return handle;
    }
    std::unique_ptr<media::StreamedSound> sound =
        media::StreamedSound::Open(mixer, media::OpenStreamDecoder(path, mode), rate);
    if (!sound) return -1;
    return media::SoundTable().Add(std::move(sound));
}

int PlaySoundHandle(int handle, int playType, int fromTop) {
    media::OperationGuard guard;
    media::Sound* sound = media::SoundTable().Find(handle);
    if (!sound || (playType != 0 && playType != 1 && playType != 3)) return -1;
    sound->Play(playType, fromTop != 0);
    media::KeepStreamsFed();   // a stream is fed off this thread from now on
    sound->lastStartMillis = media::CurrentPlatform().NowMillis();
    if (playType == 0) WaitUntilFinished(*sound, handle);
    return 0;
}

int StopSoundHandle(int handle) {
    media::OperationGuard guard;
    media::Sound* sound = media::SoundTable().Find(handle);
    if (!sound) return -1;
    sound->Stop();
    return 0;
}

int SetSoundVolume(int volume, int handle) {
    media::OperationGuard guard;
    media::Sound* sound = media::SoundTable().Find(handle);
    if (!sound) return -1;
    sound->SetLevel(media::VolumeToHundredthsDb(volume));
    return 0;
}

int DeleteSound(int handle, int /*flag*/) {
    media::OperationGuard guard;
    std::unique_ptr<media::Sound> sound = media::SoundTable().Remove(handle);
    if (!sound) return -1;
    sound->Stop();
    return 0;   // the sound's voices leave the mixer as it is destroyed
}
