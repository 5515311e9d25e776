#include "media/sound/SoundSystem.h"

#include <algorithm>
#include <memory>
#include <system_error>

#include "media/core/Log.h"
#include "media/core/OperationLock.h"
#include "media/core/PlayerPrefs.h"
#include "media/platform/Platform.h"
#include "media/sound/SoundOutput.h"
#include "media/sound/StreamFeeder.h"

namespace media {

namespace {

struct OutputState {
    std::unique_ptr<Mixer> mixer;
    int rate = 0;
    bool running = false;
    int dataMode = 0;
    HandleTable<Sound> table{HandleType::Sound, kMaxSounds};
    std::unique_ptr<StreamFeeder> feeder;  // beside a device that pulls by itself
    bool feedHere = false;                 // that device, but no thread could be started
    bool silenced = false;
};

OutputState& State() {
    static OutputState* state = new OutputState();  // lives until process exit
    return *state;
}

// One piece for every stream that wants one, when the operation lock is free.
StreamFeeder::Round FeedRound() {
    OperationLock& lock = TheOperationLock();
    if (!lock.TryLock()) return StreamFeeder::Round::Busy;
    bool more = false;
    State().table.ForEach([&more](int32_t, Sound& sound) { more = sound.FeedPiece() || more; });
    lock.Unlock();
    return more ? StreamFeeder::Round::More : StreamFeeder::Round::Done;
}

// Without a thread of its own the feeding falls back to the calling thread.
void StartFeeder(OutputState& state) {
    try {
        state.feeder = std::make_unique<StreamFeeder>(&FeedRound);
    } catch (const std::system_error& error) {
        LogLine("No thread for feeding streams (%s): they are fed by ProcessMessage", error.what());
        state.feedHere = true;
    }
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
    state.mixer->Silence(state.silenced);
    // Muted, no device is opened: the sounds load and play as ever, but nothing
    // pulls them from the mixer (a wait for a sound's end mixes it itself).
    const bool mute = CurrentPlayerPrefs().mute;
    const int rate = mute ? kPreferredSoundRate
                          : CurrentPlatform().OpenAudio(kPreferredSoundRate, &Mixer::Callback, state.mixer.get());
    if (rate <= 0) {
        LogLine("Sound output is not available: the game runs silent");
        state.mixer.reset();
        return false;
    }
    state.rate = rate;
    state.running = true;
    if (!mute && CurrentPlatform().DevicePullsByItself()) StartFeeder(state);
    return true;
}

void EndSoundOutput() {
    OperationGuard guard;
    OutputState& state = State();
    state.feeder.reset();  // never inside a round: a round holds the lock this thread holds
    state.feedHere = false;
    // Also without a device: the platform may hold its audio part. The audio
    // thread has stopped after this.
    CurrentPlatform().CloseAudio();
    state.table.Clear();
    state.mixer.reset();
    state.running = false;
    state.rate = 0;
}

void SilenceSound(bool on) {
    OperationGuard guard;
    State().silenced = on;
    if (State().mixer) State().mixer->Silence(on);
}

void StopSoundsPlayedOnce() {
    OperationGuard guard;
    State().table.ForEach([](int32_t, Sound& sound) {
        if (sound.lastPlayType != 3 && sound.IsPlaying()) sound.Stop();
    });
}

void FeedStreams() {
    OperationGuard guard;
    State().table.ForEach([](int32_t, Sound& sound) { sound.Feed(); });
}

void KeepStreamsFed() {
    OperationGuard guard;
    OutputState& state = State();
    if (state.feedHere) FeedStreams();
    if (!state.feeder) return;
    bool hungry = false;
    state.table.ForEach([&hungry](int32_t, Sound& sound) { hungry = hungry || sound.Hungry(); });
    if (hungry) state.feeder->Wake();
}

}  // namespace media
