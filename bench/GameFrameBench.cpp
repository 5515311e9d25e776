// One game-scene frame (update + draw) on the command menu with the twelve
// starting units wandering, on the headless media layer with the real pictures.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <system_error>

#include "app/KeyConfig.h"
#include "app/SystemContext.h"
#include "game/rules/GameData.h"
#include "game/rules/GameScene.h"
#include "game/world/GameChar.h"
#include "game/world/GameScreen.h"
#include "media/Headless.h"
#include "media/Media.h"
#include "resources/ImageStore.h"
#include "resources/SoundStore.h"

namespace {

namespace fs = std::filesystem;

// A working folder linking the source tree's assets; removed at the end.
class AssetFolder {
public:
    AssetFolder() {
        old_ = fs::current_path();
        char pattern[] = "/tmp/anagura-bench-XXXXXX";
        if (const char* made = mkdtemp(pattern)) dir_ = made;
        const fs::path assets = fs::path(ANAGURA_SOURCE_DIR) / "assets";
        for (const char* sub : {"image", "sound", "Data"}) {
            std::error_code ec;
            fs::create_directory_symlink(assets / sub, dir_ / sub, ec);
        }
        fs::current_path(dir_);
    }
    ~AssetFolder() {
        std::error_code ec;
        fs::current_path(old_, ec);
        fs::remove_all(dir_, ec);
    }

private:
    fs::path old_, dir_;
};

// What a frame runs: 0 update and draw, 1 update only, 2 draw only.
void RunFrames(benchmark::State& state, int part) {
    AssetFolder folder;
    media::headless::Install(true);
    media::headless::SetRandomSeed(1);
    GetSystem();
    GameData data;
    data.ResetPlayer();
    data.FillKindTables();
    KeyConfig keys;
    keys.keys = {200, 208, 205, 203, 44, 45};
    keys.count = 6;
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
        if (part != 2) scene->Update();
        if (part != 1) scene->Draw();
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

}  // namespace
