#include "app/MainLoop.h"

#include <cstring>
#include <optional>

#include "app/FramePacer.h"
#include "app/HelpPanel.h"
#include "app/StartKeys.h"
#include "app/SystemContext.h"
#include "game/rules/scene/GameScene.h"
#include "game/rules/state/GameData.h"
#include "app/input/KeyConfig.h"
#include "media/Media.h"
#include "media/core/OperationLock.h"
#include "media/core/StartFailure.h"
#include "media/video/PictureProblems.h"
#include "resources/ImageStore.h"
#include "resources/SoundStore.h"
#include "app/scene/Scene.h"
#include "title/TitleScene.h"

namespace {

// The game's scene for a scene-change code: 2 the game scene, else the title scene.
CScene* CreateScene(int code) {
    if (code == kSceneGame) return new CGameScene();
    return new CTitleScene();
}

// A new game's data: the player's starting values and the kind tables.
GameData* CreateGameData() {
    auto* data = new GameData();
    data->ResetPlayer();
    data->FillKindTables();
    return data;
}

// Key codes to put in force at the start of the next frame.
std::optional<std::vector<int32_t>>& PendingKeys() {
    static std::optional<std::vector<int32_t>> pending;
    return pending;
}

}  // namespace

void ChangeKeys(const std::vector<int32_t>& codes) { PendingKeys() = codes; }

void RunSceneFrame(CScene& scene) {  // the batch must not wait for threads that use the media layer
    media::OperationGuard batch;
    scene.Update();
    scene.Draw();
}

int RunMainLoop(const MainLoopOptions& options) {
    auto makeScene = [&](int code) { return options.makeScene ? options.makeScene(code) : CreateScene(code); };

    // Start-up, in this order. The system context starts the media layer before
    // anything else uses it; each store is made after it and so destroyed before
    // it at process exit (the image store with the first picture).
    SystemContext* system = GetSystem();
    auto* pacer = new FramePacer();
    SoundStore* sound = SoundStore::Instance();
    sound->StopMusic();  // the scene reset: no music, no sound effects
    GameData* gameData = CreateGameData();
    CScene* scene = makeScene(kSceneTitle);
    auto* keyConfig = new KeyConfig();
    keyConfig->keyboard = system->keyboard.get();  // the buttons read the context's key arrays
    scene->Begin(keyConfig, gameData);
    if (options.keyCodes) app::UseStartKeys(*keyConfig, *options.keyCodes);
    else app::LoadStartKeys(*keyConfig, options.keyFile);
    if (options.afterStart) options.afterStart(*keyConfig);
    app::HelpPanel help(*keyConfig);  // F1: drawn by the window, above the picture
    help.Watch(scene);
    media::SetHelpSource(&help);
    media::TellPictureProblems();  // the first scene's

    // The loop's state handed to betweenFrames; what it puts in place is taken back.
    LoopState between{0, scene, gameData, keyConfig, pacer};
    auto betweenFrames = [&](uint64_t framesRun) {
        if (!options.betweenFrames) return framesRun;
        between.frames = framesRun;
        between.scene = scene;
        options.betweenFrames(between);
        if (between.scene != scene) {
            scene = between.scene;
            help.Watch(scene);
        }
        return between.frames;
    };
    uint64_t frame = betweenFrames(0);
    const bool run = ProcessMessage() == 0;
    if (run) {
        bool quit = false;
        for (;; ++frame) {
            if (options.beforeFrame) options.beforeFrame(frame);
            if (PendingKeys()) {
                app::UseStartKeys(*keyConfig, *PendingKeys());
                if (options.keysChanged) options.keysChanged(frame, *PendingKeys());
                PendingKeys().reset();
            }
            KeyboardState& keys = *system->keyboard;
            std::memcpy(keys.previous, keys.current, sizeof keys.current);
            GetKeyStateAll(keys.current);
            FlipScreen();
            ClearScreen();
            sound->StepMusicVolume();
            pacer->Pace();
            const int stateBefore = scene->state;
            RunSceneFrame(*scene);
            app::NoticeRefusedOrder(stateBefore, *scene, *keyConfig);
            const int code = scene->NextScene();
            if (code == kSceneTitle || code == kSceneGame) {
                if (code == kSceneGame) gameData->ResetPlayer();
                delete scene;
                sound->StopMusic();
                scene = makeScene(code);
                scene->Begin(keyConfig, gameData);
                help.Watch(scene);
            } else if (code != kSceneStay) {
                quit = true;
            }
            if (options.afterFrame) options.afterFrame(frame, *scene);
            media::TellPictureProblems();  // those of a new scene, or of a picture made in this frame
            frame = betweenFrames(frame + 1) - 1;
            if (keys.current[1] == 1 || keys.previous[1] == 1 || quit) break;
            if (ProcessMessage() != 0) break;
        }
    }
    if (run && options.afterLastFrame) options.afterLastFrame(frame, *scene);
    PendingKeys().reset();  // a change asked for after the last frame is no next run's

    media::SetHelpSource(nullptr);
    ImageStore::Instance()->ReleaseAll();
    delete gameData;
    delete scene;
    keyConfig->keys.clear();
    keyConfig->count = 0;
    delete keyConfig;
    sound->StopMusic();
    delete pacer;
    return media::MediaStartFailed() ? 1 : 0;
}
