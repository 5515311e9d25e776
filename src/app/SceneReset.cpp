// Wiring of the main loop to the stores, the game data and the scenes.
#include "app/SceneReset.h"

#include "app/SystemContext.h"
#include "game/rules/GameData.h"
#include "game/rules/GameScene.h"
#include "resources/ImageStore.h"
#include "resources/SoundStore.h"
#include "title/TitleScene.h"

namespace app {

void TouchSoundStore() { SoundStore::Instance(); }

void SceneReset() {
    GetSystem();
    SoundStore::Instance()->StopMusic();
}

void StepMusicVolume() { SoundStore::Instance()->StepMusicVolume(); }

void ReleaseAllImages() { ImageStore::Instance()->ReleaseAll(); }

GameData* CreateGameData() {
    auto* data = new GameData();
    data->ResetPlayer();
    data->FillKindTables();
    return data;
}

void ResetPlayer(GameData* data) {
    if (data) data->ResetPlayer();
}

void DestroyGameData(GameData* data) { delete data; }

CScene* CreateScene(int code) {
    if (code == kSceneGame) return new CGameScene();
    return new CTitleScene();
}

}  // namespace app
