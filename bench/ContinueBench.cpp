// Continuing a kept game: a game of 432,000 frames (two hours of play) played
// again up to its last frame, from reading the file to the first live frame,
// on the headless media layer with the real data (the goal: under 5 s); and
// what keeping the game costs a live frame (the goal: under 1 % of a game frame).
#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <string>

#include "DataFolder.h"
#include "app/GameOptions.h"
#include "app/LastGame.h"
#include "app/LastGameKeeper.h"
#include "app/MainLoop.h"
#include "app/StartKeys.h"
#include "app/SystemContext.h"
#include "media/headless/HeadlessControls.h"
#include "resources/ImageStore.h"
#include "resources/SoundStore.h"

namespace {

constexpr uint64_t kTwoHours = 432000;
const std::vector<int32_t> kKeys(std::begin(app::kDefaultKeyCodes), std::end(app::kDefaultKeyCodes));

// A player who goes through the menus: decide every 90 frames, a move in between.
void WriteLongGame(const std::string& path) {
    std::string text = app::RecordedGameHeader(1, kKeys, {}) + app::LastGameStamp(app::GameVersion());
    for (uint64_t f = 40; f + 3 < kTwoHours; f += 90) {
        text += std::to_string(f) + " 44\n" + std::to_string(f + 2) + "\n";
        text += std::to_string(f + 45) + (f % 180 ? " 205\n" : " 208\n") + std::to_string(f + 47) + "\n";
    }
    text += "# frames " + std::to_string(kTwoHours) + "\n";
    std::ofstream(path, std::ios::binary) << text;
}

void EndRun() {
    ImageStore::Instance()->ReleaseAll();
    SoundStore::Instance()->StopMusic();
    ResetSystem();
}

void BM_ContinueTwoHourGame(benchmark::State& state) {
    bench::DataFolder folder;
    const std::string player = "player";
    uint64_t live = 0;
    for (auto _ : state) {
        state.PauseTiming();
        app::LastGameKeeper keeper(player);
        WriteLongGame(app::LastGameFilesIn(player).current);
        ResetSystem();
        media::headless::Install(true);
        state.ResumeTiming();
        MainLoopOptions loop;
        if (!keeper.PrepareContinue(loop, kKeys)) state.SkipWithError("the long game cannot be continued");
        loop.afterStart = [&](const KeyConfig& keys) { keeper.AfterStart(keys); };
        loop.beforeFrame = [&](uint64_t frame) { keeper.BeforeFrame(frame + 1); };
        loop.afterFrame = [&](uint64_t frame, CScene& scene) {
            const bool wasLive = keeper.Live();
            keeper.AfterFrame(frame + 1, scene);
            if (wasLive) {
                live = frame + 1;
                media::headless::RequestQuit();
            }
        };
        RunMainLoop(loop);
        state.PauseTiming();
        EndRun();
        state.ResumeTiming();
    }
    state.counters["first_live_frame"] = static_cast<double>(live);
}
BENCHMARK(BM_ContinueTwoHourGame)->Unit(benchmark::kSecond)->Iterations(1);

// One live frame's keeping in the game's command menu (keys unchanged, the usual frame).
void BM_KeepingAGameFrame(benchmark::State& state) {
    bench::DataFolder folder;
    ResetSystem();
    media::headless::Install(true);
    media::headless::SetRandomSeed(1);
    app::LastGameKeeper keeper("player");
    MainLoopOptions loop;
    loop.afterStart = [&](const KeyConfig& keys) { keeper.AfterStart(keys); };
    loop.beforeFrame = [](uint64_t frame) { media::headless::SetKeyDown(44, frame >= 40 && frame < 42); };
    loop.afterFrame = [&](uint64_t frame, CScene& scene) {
        keeper.AfterFrame(frame + 1, scene);
        if (frame < 300) return;
        for (auto _ : state) keeper.AfterFrame(frame + 1, scene);
        media::headless::RequestQuit();
    };
    RunMainLoop(loop);
    EndRun();
}
BENCHMARK(BM_KeepingAGameFrame)->Unit(benchmark::kNanosecond);

}  // namespace
