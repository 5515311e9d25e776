#include "media/SoundSystem.h"

#include <memory>

#include "media/Headless.h"
#include "media/HeadlessPlatform.h"
#include "media/Log.h"
#include "media/OperationLock.h"
#include "media/Platform.h"
#include "media/SoundOutput.h"

namespace media {

namespace {

struct OutputState {
    std::unique_ptr<Mixer> mixer;
    int rate = 0;
    bool running = false;
    int dataMode = 0;
    HandleTable<Sound> table{HandleType::Sound, kMaxSounds};
};

OutputState& State() {
    static OutputState* state = new OutputState();  // lives until process exit
    return *state;
}

}  // namespace

bool SoundOutputRunning() { return State().running; }
int SoundOutputRate() { return State().rate; }
Mixer* SoundMixer() { return State().mixer.get(); }
HandleTable<Sound>& SoundTable() { return State().table; }
int& SoundDataMode() { return State().dataMode; }

bool StartSoundOutput() {
    OperationGuard guard;
    OutputState& state = State();
    if (state.running) return true;
    state.mixer = std::make_unique<Mixer>();
    const int rate = CurrentPlatform().OpenAudio(kPreferredSoundRate, &Mixer::Callback, state.mixer.get());
    if (rate <= 0) {
        LogPrintf("Sound output is not available: the game runs silent\n");
        state.mixer.reset();
        return false;
    }
    state.rate = rate;
    state.running = true;
    return true;
}

void EndSoundOutput() {
    OperationGuard guard;
    OutputState& state = State();
    // Also without a device: the platform may hold its audio part. The audio
    // thread has stopped after this.
    CurrentPlatform().CloseAudio();
    state.table.Clear();
    state.mixer.reset();
    state.running = false;
    state.rate = 0;
}

void FeedStreams() {
    OperationGuard guard;
    State().table.ForEach([](int32_t, Sound& sound) { sound.Feed(); });
}

}  // namespace media

namespace media::headless {

std::vector<int16_t> RenderAudio(int frames) {
    OperationGuard guard;
    std::vector<int16_t> out(static_cast<size_t>(frames > 0 ? frames : 0) * 2, 0);
    OutputState& state = State();
    if (!state.running || frames <= 0) return out;
    FeedStreams();
    CallAudioCallback(out.data(), frames);   // the mixer, as a device thread would run it
    return out;
}

}  // namespace media::headless
