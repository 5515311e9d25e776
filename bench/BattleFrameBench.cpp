// One battle frame of the game scene, headless: twelve defenders in their lines,
// the raider, damage numbers rising and a fade running; update and draw.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "app/MainLoop.h"
#include "app/SystemContext.h"
#include "game/rules/scene/GameScene.h"
#include "game/rules/state/GameData.h"
#include "game/world/DamageEffectPool.h"
#include "game/world/GameScreen.h"
#include "app/input/KeyConfig.h"
#include "media/Media.h"
#include "media/core/OperationLock.h"
#include "media/headless/HeadlessControls.h"

namespace {

void EnterAssets() {
    namespace fs = std::filesystem;
    const fs::path assets = fs::path(ANAGURA_SOURCE_DIR) / "assets";
    std::error_code ec;
    if (fs::exists(assets / "image", ec)) fs::current_path(assets, ec);
}

// drawFrame: also clear the screen and draw (the whole frame); otherwise the update alone.
void RunBattle(benchmark::State& st, bool drawFrame) {
    static bool started = [] {
        EnterAssets();
        media::headless::Install(true);
        media::headless::SetRandomSeed(7);
        GetSystem();
        return true;
    }();
    (void)started;

    KeyConfig keys;
    keys.keys = {200, 208, 205, 203, 44, 45};
    keys.count = 6;
    keys.keyboard = GetSystem()->keyboard.get();
    GameData data;
    data.ResetPlayer();
    data.FillKindTables();
    CGameScene scene;
    scene.Begin(&keys, &data);
    scene.EnterState(kStateRaidAlert);
    scene.EnterState(kStateLineUp);
    int frame = 0;
    for (auto _ : st) {
        // Hold the battle still: the line-up never times out and the fade stays half closed.
        scene.stateTimer = 1000;
        scene.fade->counter = 15;
        scene.fade->closing = true;
        scene.fade->kind = 1;
        if (frame++ % 20 == 0) {
            scene.effectPool->ShowDamage(123, 72, 50);
            scene.effectPool->ShowDamage(45, 88, 50);
        }
        if (drawFrame) {
            ClearScreen();
            RunSceneFrame(scene);  // update and draw as the main loop runs them
        } else {
            media::OperationGuard batch;
            scene.Update();
        }
    }
    st.counters["running_numbers"] = static_cast<double>(scene.effectPool->running.size());
}

void BattleFrame(benchmark::State& st) { RunBattle(st, true); }
void BattleUpdate(benchmark::State& st) { RunBattle(st, false); }
BENCHMARK(BattleFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BattleUpdate)->Unit(benchmark::kMicrosecond);

}  // namespace
