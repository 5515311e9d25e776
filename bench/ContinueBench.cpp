// Continuing a kept game, from reading its files to the first live frame, on
// the headless media layer with the real data: a short real game that reaches
// the command menu and is then left open there for a minute, two hours, ten
// hours or a day (the recording holds no key change in that time). "played"
// plays every frame again (a game kept without its state, as before the state
// was kept); "kept" puts the state kept when that run ended back (goal: every
// length within a second of the minute's). Also what keeping the game costs
// a live frame, and what keeping its state costs once.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "DataFolder.h"
#include "app/AtomicFile.h"
#include "app/GameOptions.h"
#include "app/KeptState.h"
#include "app/LastGame.h"
#include "app/LastGameKeeper.h"
#include "app/MainLoop.h"
#include "app/StartKeys.h"
#include "app/SystemContext.h"
#include "media/headless/HeadlessControls.h"
#include "resources/ImageStore.h"
#include "resources/SoundStore.h"

namespace {

constexpr uint64_t kMinute = 3600, kTwoHours = 432000, kTenHours = 2160000, kDay = 5184000;
const std::vector<int32_t> kKeys(std::begin(app::kDefaultKeyCodes), std::end(app::kDefaultKeyCodes));
const std::string kPlayer = "player";

// Starts a game, rests the first day and is left on the second day's command menu until `frames`.
void WriteLeftOpenGame(const std::string& path, uint64_t frames) {
    std::string text = app::RecordedGameHeader(1, kKeys, {}) + app::LastGameStamp(app::GameVersion());
    text += "40 44\n42\n300 205\n302\n310 208\n312\n320 208\n322\n330 44\n332\n";
    text += "# frames " + std::to_string(frames) + "\n";
    std::ofstream(path, std::ios::binary) << text;
}

void EndRun() {
    ImageStore::Instance()->ReleaseAll();
    SoundStore::Instance()->StopMusic();
    ResetSystem();
}

// Continues the game kept in the player folder until its first live frame,
// which it plays, then ends the run (the keeper keeps its state). The first live frame.
uint64_t ContinueToFirstLiveFrame() {
    ResetSystem();
    media::headless::Install(true);
    app::LastGameKeeper keeper(kPlayer);
    MainLoopOptions loop;
    uint64_t live = 0;
    if (!keeper.PrepareContinue(loop, kKeys)) return 0;
    loop.afterStart = [&](const KeyConfig& keys) { keeper.AfterStart(keys); };
    loop.betweenFrames = [&](LoopState& state) { keeper.BetweenFrames(state); };
    loop.beforeFrame = [&](uint64_t frame) { keeper.BeforeFrame(frame + 1); };
    loop.afterFrame = [&](uint64_t frame, CScene& scene) {
        const bool wasLive = keeper.Live();
        keeper.AfterFrame(frame + 1, scene);
        if (wasLive && live == 0) {
            live = frame + 1;
            media::headless::RequestQuit();
        }
    };
    loop.afterLastFrame = [&](uint64_t frame, CScene&) { keeper.EndOfRun(frame + 1); };
    RunMainLoop(loop);
    EndRun();
    return live;
}

void BM_Continue(benchmark::State& state, uint64_t frames, bool kept) {
    bench::DataFolder folder;
    const app::LastGameFiles files = app::LastGameFilesIn(kPlayer);
    std::filesystem::create_directories(kPlayer);
    uint64_t live = 0;
    for (auto _ : state) {
        state.PauseTiming();
        WriteLeftOpenGame(files.current, frames);
        std::filesystem::remove(app::KeptStatePath(files.current));
        if (kept && ContinueToFirstLiveFrame() != frames + 1) state.SkipWithError("the game was not kept");
        state.ResumeTiming();
        live = ContinueToFirstLiveFrame();
    }
    state.counters["first_live_frame"] = static_cast<double>(live);
    if (live != (kept ? frames + 2 : frames + 1))
        state.SkipWithError(("the game went on at frame " + std::to_string(live)).c_str());
}
BENCHMARK_CAPTURE(BM_Continue, Minute_played, kMinute, false)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_Continue, Minute_kept, kMinute, true)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_Continue, TwoHours_played, kTwoHours, false)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_Continue, TwoHours_kept, kTwoHours, true)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_Continue, TenHours_played, kTenHours, false)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_Continue, TenHours_kept, kTenHours, true)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_Continue, Day_played, kDay, false)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_Continue, Day_kept, kDay, true)->Unit(benchmark::kMillisecond)->Iterations(1);

// Runs a game with the keeper on the command menu and calls `measure` from the 300th frame on.
template <typename Fn>
void OnTheCommandMenu(Fn measure) {
    bench::DataFolder folder;
    ResetSystem();
    media::headless::Install(true);
    media::headless::SetRandomSeed(1);
    app::LastGameKeeper keeper(kPlayer);
    MainLoopOptions loop;
    loop.afterStart = [&](const KeyConfig& keys) { keeper.AfterStart(keys); };
    loop.betweenFrames = [&](LoopState& state) {
        if (state.frames < 300) return;
        measure(keeper, state);
        media::headless::RequestQuit();
    };
    loop.beforeFrame = [](uint64_t frame) { media::headless::SetKeyDown(44, frame >= 40 && frame < 42); };
    loop.afterFrame = [&](uint64_t frame, CScene& scene) { keeper.AfterFrame(frame + 1, scene); };
    RunMainLoop(loop);
    EndRun();
}

// One live frame's keeping in the game's command menu (keys unchanged, the usual frame).
void BM_KeepingAGameFrame(benchmark::State& state) {
    OnTheCommandMenu([&](app::LastGameKeeper& keeper, LoopState& loop) {
        for (auto _ : state) keeper.AfterFrame(loop.frames, *loop.scene);
    });
}
BENCHMARK(BM_KeepingAGameFrame)->Unit(benchmark::kNanosecond);

// Keeping the state once (every minute of play, and when the run ends): made and written to its file.
void BM_KeepingTheState(benchmark::State& state) {
    OnTheCommandMenu([&](app::LastGameKeeper&, LoopState& loop) {
        const std::string stamp = app::LastGameStamp(app::GameVersion());
        const std::string recording =
            app::RecordedGameHeader(1, kKeys, {}) + stamp + "40 44\n42\n" + std::to_string(loop.frames) + "\n";
        const uint64_t pictures = app::PicturesDigest();
        size_t bytes = 0;
        for (auto _ : state) {
            const std::string file = app::KeptStateOfRun(loop, recording, stamp, pictures);
            std::string error;
            if (!app::WriteFileAtomically("player/last-game.state", file, error, app::Durability::Handed))
                state.SkipWithError(error.c_str());
            bytes = file.size();
        }
        state.counters["bytes"] = static_cast<double>(bytes);
    });
}
BENCHMARK(BM_KeepingTheState)->Unit(benchmark::kMillisecond);

}  // namespace
