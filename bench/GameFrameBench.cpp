// One game-scene frame (update + draw) on the command menu with the twelve
// starting units wandering, on the headless media layer with the real pictures;
// and whole main-loop frames of the same play.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "DataFolder.h"
#include "app/MainLoop.h"
#include "app/SystemContext.h"
#include "game/rules/scene/GameScene.h"
#include "game/rules/state/GameData.h"
#include "game/world/GameChar.h"
#include "game/world/GameScreen.h"
#include "app/input/KeyConfig.h"
#include "media/Media.h"
#include "media/core/CallRecorder.h"
#include "media/core/OperationLock.h"
#include "media/headless/HeadlessControls.h"
#include "resources/ImageStore.h"
#include "resources/SoundStore.h"
#include "app/scene/Scene.h"

namespace {

// What a frame runs: 0 clear, update and draw, 1 update only, 2 clear and draw;
// each as one batch of media operations, as the main loop runs them.
void RunFrames(benchmark::State& state, int part) {
    bench::DataFolder folder;
    media::headless::Install(true);
    media::headless::SetRandomSeed(1);
    GetSystem();
    GameData data;
    data.ResetPlayer();
    data.FillKindTables();
    KeyConfig keys;
    keys.keys = {200, 208, 205, 203, 44, 45};
    keys.count = 6;
    keys.keyboard = GetSystem()->keyboard.get();
    auto* scene = new CGameScene();
    scene->Begin(&keys, &data);
    // Into the command menu, the fade fully open.
    for (int i = 0; i < 200 && !(scene->state == kStateCommandMenu && scene->fade->counter == 0); ++i) {
        scene->Update();
        scene->Draw();
    }
    int wandering = 0;
    for (auto& list : scene->screen->units) {
        for (CGameChar* c : list) wandering += c->mode == kCharWander || c->mode == kCharAppear;
    }
    for (auto _ : state) {
        if (part == 0) {
            ClearScreen();  // as the main loop starts a frame's drawing
            RunSceneFrame(*scene);
            continue;
        }
        media::OperationGuard batch;
        if (part == 1) {
            scene->Update();
        } else {
            ClearScreen();
            scene->Draw();
        }
    }
    state.counters["units"] = wandering;
    delete scene;
    ImageStore::Instance()->ReleaseAll();
    SoundStore::Instance()->StopMusic();
    ResetSystem();
}
void BM_GameSceneFrame(benchmark::State& state) { RunFrames(state, 0); }
void BM_GameSceneUpdate(benchmark::State& state) { RunFrames(state, 1); }
void BM_GameSceneDraw(benchmark::State& state) { RunFrames(state, 2); }
BENCHMARK(BM_GameSceneFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GameSceneUpdate)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GameSceneDraw)->Unit(benchmark::kMicrosecond);

// Whole frames of the real main loop as the replay tool runs them (keyboard
// snapshot, flip, clear, music step, update, draw): Z on the title, then the
// game's command menu with its wandering units. items_per_second is frames per
// second. With `recordCalls` the call recorder is on and its calls are taken at
// the end of every frame, as anagura-replay --calls does.
void RunMainLoopFrames(benchmark::State& state, bool recordCalls) {
    bench::DataFolder folder;
    ResetSystem();
    media::headless::Install(true);
    media::headless::SetRandomSeed(1);
    media::headless::ReleaseAllKeys();
    if (recordCalls) media::StartCallRecorder();
    constexpr uint64_t kMeasureFrom = 300;  // well inside the game scene
    MainLoopOptions options;
    options.beforeFrame = [](uint64_t frame) { media::headless::SetKeyDown(44, frame >= 40 && frame < 42); };
    bool running = true;
    int64_t gameFrames = 0;
    options.afterFrame = [&](uint64_t frame, CScene& scene) {
        if (recordCalls) benchmark::DoNotOptimize(media::TakeRecordedCalls());
        if (frame < kMeasureFrom || !running) return;
        gameFrames += dynamic_cast<CGameScene*>(&scene) != nullptr;
        if (!state.KeepRunning()) {
            running = false;
            media::headless::RequestQuit();
        }
    };
    RunMainLoop(options);
    media::StopCallRecorder();
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
    state.counters["in_game"] =
        static_cast<double>(gameFrames) / static_cast<double>(std::max<int64_t>(1, state.iterations() + 1));
    ImageStore::Instance()->ReleaseAll();
    SoundStore::Instance()->StopMusic();
    ResetSystem();
}

void BM_MainLoopGameFrame(benchmark::State& state) { RunMainLoopFrames(state, false); }
void BM_MainLoopGameFrameRecordingCalls(benchmark::State& state) { RunMainLoopFrames(state, true); }
BENCHMARK(BM_MainLoopGameFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MainLoopGameFrameRecordingCalls)->Unit(benchmark::kMicrosecond);

}  // namespace
