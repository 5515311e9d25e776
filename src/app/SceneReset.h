// The main loop's calls into the resource stores and the game data. Until those
// exist, each hook does what the loop needs without them; the one file
// SceneReset.cpp is where they get wired.
#pragma once

class CScene;
class GameData;

namespace app {

// Makes the sound store exist (start of the main body).
void TouchSoundStore();
// Stops and frees the music and frees every sound effect (start, between scenes, end).
void SceneReset();
// One step of the music volume ramp, then SetSoundVolume on the music handle.
void StepMusicVolume();
// Frees every image the image store holds (shutdown).
void ReleaseAllImages();
// A new GameData with new-game values and its kind tables; null until it exists.
GameData* CreateGameData();
// New-game values for the player record (before a new game scene).
void ResetPlayer(GameData* data);
void DestroyGameData(GameData* data);
// The scene for a scene-change code: 1 title scene, 2 game scene.
CScene* CreateScene(int code);

}  // namespace app
