// The frame in which the music changes, through the real main loop on the
// headless platform with the shipped data: from the title into the game (the
// command menu's music starts) and from the command menu into a battle (the
// battle music replaces it). The time is the game thread's whole frame, from
// the keyboard snapshot to the end of its ProcessMessage; sound output is a
// device of its own (nothing here pulls samples), as in the game. The same
// frame is also run without the sound folder (every load fails at once): the
// difference is what the music change costs, "music_us". Medians of 9 runs.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "DataFolder.h"
#include "app/MainLoop.h"
#include "app/SystemContext.h"
#include "game/rules/scene/GameScene.h"
#include "media/headless/HeadlessControls.h"
#include "resources/ImageStore.h"
#include "resources/SoundStore.h"
#include "app/scene/Scene.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kDecideKey = 44;  // Z
constexpr int kRuns = 9;

// Runs the game until the music has changed `changes` times and `frames` more
// frames have passed; `steer` may push the game along after each frame. The
// duration of the frame of the last change, in seconds.
template <class Steer>
double MusicChangeFrame(int changes, Steer steer) {
    ResetSystem();
    media::headless::Install(true);
    media::headless::SetRandomSeed(3);
    media::headless::ReleaseAllKeys();
    MainLoopOptions options;
    std::string music;
    int seen = 0;
    uint64_t changeFrame = 0;
    Clock::time_point frameStart;
    double seconds = 0.0;
    options.beforeFrame = [&](uint64_t frame) {
        const Clock::time_point now = Clock::now();
        if (seen == changes && frame == changeFrame + 1) {
            seconds = std::chrono::duration<double>(now - frameStart).count();
            media::headless::RequestQuit();
        }
        frameStart = now;
        media::headless::SetKeyDown(kDecideKey, frame >= 40 && frame < 42);  // leaves the title
    };
    options.afterFrame = [&](uint64_t frame, CScene& scene) {
        const std::string& now = SoundStore::Instance()->m_musicName;
        if (now != music && seen < changes) {
            music = now;
            ++seen;
            changeFrame = frame;
        }
        if (auto* game = dynamic_cast<CGameScene*>(&scene)) steer(*game, seen);
    };
    RunMainLoop(options);
    ImageStore::Instance()->ReleaseAll();
    SoundStore::Instance()->StopMusic();
    ResetSystem();
    return seconds;
}

template <class Steer>
double MedianFrame(bool withSound, int changes, Steer steer) {
    bench::DataFolder folder(withSound);
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) times.push_back(MusicChangeFrame(changes, steer));
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

template <class Steer>
void Measure(benchmark::State& state, int changes, Steer steer) {
    for (auto _ : state) {
        const double with = MedianFrame(true, changes, steer);
        const double without = MedianFrame(false, changes, steer);
        state.SetIterationTime(with);
        state.counters["without_sound_us"] = without * 1e6;
        state.counters["music_us"] = (with - without) * 1e6;
    }
}

void BM_MusicChangeFrame_TitleToGame(benchmark::State& state) {
    Measure(state, 1, [](CGameScene&, int) {});
}
BENCHMARK(BM_MusicChangeFrame_TitleToGame)->UseManualTime()->Iterations(1)->Unit(benchmark::kMicrosecond);

// In the command menu a raid is called as the raid roll calls it; the battle
// music starts as the fade has closed.
void BM_MusicChangeFrame_CommandMenuToBattle(benchmark::State& state) {
    auto raid = [](CGameScene& scene, int changes) {
        if (changes == 1 && scene.state == kStateCommandMenu && scene.fade->counter == 0)
            scene.RequestState(kStateRaidAlert, 1);
    };
    Measure(state, 2, raid);
}
BENCHMARK(BM_MusicChangeFrame_CommandMenuToBattle)->UseManualTime()->Iterations(1)->Unit(benchmark::kMicrosecond);

}  // namespace
