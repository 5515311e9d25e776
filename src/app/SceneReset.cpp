// Wiring of the main loop to the stores, the game data and the scenes.
// Stand-ins until SoundStore, ImageStore, GameData, CTitleScene and CGameScene land.
#include "app/SceneReset.h"

#include "app/StandInScene.h"
#include "app/SystemContext.h"
#include "media/Media.h"

namespace app {

void TouchSoundStore() {}

void SceneReset() {
    GetSystem();
    // No sound store yet: its music handle is 0, which the media layer refuses.
    StopSoundHandle(0);
    DeleteSound(0, 0);
}

void StepMusicVolume() {
    GetSystem();
    SetSoundVolume(0, 0);  // volume ramp {0, 0, 0} on music handle 0
}

void ReleaseAllImages() {}

GameData* CreateGameData() { return nullptr; }

void ResetPlayer(GameData*) {}

void DestroyGameData(GameData*) {}

CScene* CreateScene(int /*code*/) { return new StandInScene(); }

}  // namespace app
