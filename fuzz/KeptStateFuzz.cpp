// The state kept beside the last game on any bytes: the file around it is
// refused with a reason or gives the state of a frame its game reaches; a
// run's state (any bytes, or a real one with bytes changed) that is refused
// leaves the run as it was, and one that is put back can be kept and put back
// again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/FramePacer.h"
#include "app/KeptState.h"
#include "app/LastGame.h"
#include "app/MainLoop.h"
#include "app/RunState.h"
#include "app/SystemContext.h"
#include "app/input/KeyConfig.h"
#include "game/rules/scene/GameScene.h"
#include "game/rules/state/GameData.h"
#include "media/headless/HeadlessControls.h"

namespace {

struct Run {
    GameData data;
    KeyConfig keys;
    FramePacer pacer;
    LoopState loop;
    std::string real;  // a real state, of a game scene just begun
};

Run& TheRun() {
    static Run* run = [] {
        media::headless::Install(true);
        auto* r = new Run();
        r->data.ResetPlayer();
        r->data.FillKindTables();
        r->keys.keys = {200, 208, 205, 203, 44, 45};
        r->keys.keyboard = GetSystem()->keyboard.get();
        CScene* scene = new CGameScene();
        scene->Begin(&r->keys, &r->data);
        r->loop = LoopState{0, scene, &r->data, &r->keys, &r->pacer};
        r->real = app::KeepRunState(r->loop);
        return r;
    }();
    return *run;
}

void PutBack(const std::string& state) {
    LoopState& loop = TheRun().loop;
    CScene* scene = loop.scene;
    std::string reason;
    if (!app::PutRunState(state, loop, reason)) {
        if (reason.empty() || loop.scene != scene) std::abort();
        return;
    }
    if (!app::PutRunState(app::KeepRunState(loop), loop, reason)) std::abort();
}

void ReadFile(const std::string& bytes) {
    const std::string stamp = "# version 1\n# data 0123\n";
    app::ContinuedGame game;
    game.header.recorded = true;
    game.header.keyCodes = std::vector<int32_t>{200, 208, 205, 203, 44, 45};
    game.frames = 100;
    uint64_t frame = 0;
    std::string state, reason;
    const bool read = app::ReadKeptStateFile(bytes, stamp, game, frame, state, reason);
    if (read ? frame == 0 || frame > game.frames : reason.empty()) std::abort();
}

}  // namespace

// The first byte says what the rest is: 0 a kept state's file, 1 a run's
// state, else changes to a real run's state (a 4-byte place, then the bytes
// written there; the state is cut at the place when no bytes follow).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] == 0) {
        ReadFile(rest);
    } else if (data[0] == 1) {
        PutBack(rest);
    } else if (rest.size() >= 4) {
        std::string state = TheRun().real;
        uint32_t at = 0;
        std::memcpy(&at, rest.data(), 4);
        at %= static_cast<uint32_t>(state.size());
        if (rest.size() == 4) state.resize(at);
        else state.replace(at, std::min(rest.size() - 4, state.size() - at), rest.substr(4));
        PutBack(state);
    }
    return 0;
}
