#include "app/MainLoop.h"

#include <cstring>

#include "app/FramePacer.h"
#include "app/KeyConfig.h"
#include "app/Scene.h"
#include "app/SceneReset.h"
#include "app/StartKeys.h"
#include "app/SystemContext.h"
#include "media/Media.h"
#include "media/MediaStatus.h"
#include "media/OperationLock.h"

void RunSceneFrame(CScene& scene) {  // the batch must not wait for threads that use the media layer
    media::OperationGuard batch;
    scene.Update();
    scene.Draw();
}

int RunMainLoop(const MainLoopOptions& options) {
    auto makeScene = [&](int code) { return options.makeScene ? options.makeScene(code) : app::CreateScene(code); };

    SystemContext* system = GetSystem();
    auto* pacer = new FramePacer();
    app::TouchSoundStore();
    app::SceneReset();
    GameData* gameData = app::CreateGameData();
    CScene* scene = makeScene(kSceneTitle);
    auto* keyConfig = new KeyConfig();
    scene->Begin(keyConfig, gameData);
    if (options.keyCodes)
        app::UseStartKeys(*keyConfig, *options.keyCodes);
    else
        app::LoadStartKeys(*keyConfig, options.keyFile);
    if (options.afterStart) options.afterStart(*keyConfig);

    const bool run = ProcessMessage() == 0;
    uint64_t frame = 0;
    if (run) {
        bool quit = false;
        for (;; ++frame) {
            if (options.beforeFrame) options.beforeFrame(frame);
            KeyboardState& keys = *system->keyboard;
            std::memcpy(keys.previous, keys.current, sizeof keys.current);
            GetKeyStateAll(keys.current);
            FlipScreen();
            ClearScreen();
            app::StepMusicVolume();
            pacer->Pace();
            RunSceneFrame(*scene);
            const int code = scene->NextScene();
            if (code == kSceneTitle || code == kSceneGame) {
                if (code == kSceneGame) app::ResetPlayer(gameData);
                delete scene;
                app::SceneReset();
                scene = makeScene(code);
                scene->Begin(keyConfig, gameData);
            } else if (code != kSceneStay) {
                quit = true;
            }
            if (options.afterFrame) options.afterFrame(frame, *scene);
            if (keys.current[1] == 1 || keys.previous[1] == 1 || quit) break;
            if (ProcessMessage() != 0) break;
        }
    }
    if (run && options.afterLastFrame) options.afterLastFrame(frame, *scene);

    app::ReleaseAllImages();
    app::DestroyGameData(gameData);
    delete scene;
    keyConfig->keys.clear();
    keyConfig->count = 0;
    delete keyConfig;
    app::SceneReset();
    delete pacer;
    return media::MediaStartFailed() ? 1 : 0;
}
