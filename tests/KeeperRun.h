// A run of the game on the headless media layer with the last game kept in the
// player folder "player" of the working folder, as the game keeps it: played
// from the start with key presses, or continued. Shared by the tests of the
// last game and of its kept state.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/LastGameKeeper.h"
#include "app/MainLoop.h"
#include "app/StartKeys.h"
#include "app/StateTrace.h"
#include "app/SystemContext.h"
#include "media/headless/HeadlessControls.h"
#include "resources/ImageStore.h"
#include "resources/SoundStore.h"

namespace gametest {

struct KeeperRun {
    bool continued = false;  // --continue (from the file `from` when not empty)
    std::string from;
    std::vector<int32_t> deviceKeys{std::begin(app::kDefaultKeyCodes), std::end(app::kDefaultKeyCodes)};
    std::map<uint64_t, int> presses;              // frame: the key tapped in it (played runs)
    uint64_t until = 0;                           // played runs end after this frame
    uint64_t liveFrames = 0;                      // continued runs end after this many live frames
    std::function<void(uint64_t frame)> atFrame;  // before each frame (numbered from 1)
    // What the run gave: the state trace of its live frames and the first of them.
    std::string trace;
    uint64_t firstLive = 0;
};

inline void Play(KeeperRun& run) {
    ResetSystem();  // the loop starts the media layer, after the keeper has prepared the catch-up
    media::headless::Install(true);
    media::headless::SetRandomSeed(7);
    app::LastGameKeeper keeper("player");
    MainLoopOptions loop;
    if (run.continued) keeper.PrepareContinue(loop, run.deviceKeys, run.from);
    uint64_t live = 0;
    loop.afterStart = [&](const KeyConfig& keys) { keeper.AfterStart(keys); };
    loop.betweenFrames = [&](LoopState& state) { keeper.BetweenFrames(state); };
    loop.beforeFrame = [&](uint64_t frame) {
        keeper.BeforeFrame(frame + 1);
        media::headless::ReleaseAllKeys();
        const auto press = run.presses.find(frame + 1);
        if (press != run.presses.end()) media::headless::SetKeyDown(press->second, true);
        if (run.atFrame) run.atFrame(frame + 1);
    };
    loop.keysChanged = [&](uint64_t frame, const std::vector<int32_t>& codes) {
        keeper.KeysChanged(frame + 1, codes);
    };
    loop.afterFrame = [&](uint64_t frame, CScene& scene) {
        const bool wasLive = keeper.Live();
        keeper.AfterFrame(frame + 1, scene);
        if (wasLive) {
            if (run.firstLive == 0) run.firstLive = frame + 1;
            app::AppendTrace(run.trace, frame + 1, scene);
            if (++live == run.liveFrames) media::headless::RequestQuit();
        }
        if (frame + 1 == run.until) media::headless::RequestQuit();
    };
    loop.afterLastFrame = [&](uint64_t frame, CScene&) { keeper.EndOfRun(frame + 1); };
    RunMainLoop(loop);
    ImageStore::Instance()->ReleaseAll();
    SoundStore::Instance()->StopMusic();
}

}  // namespace gametest
