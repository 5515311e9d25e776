// Scene base: state bookkeeping and the fade to black that covers every state change.
#pragma once

#include <cstdint>

struct KeyConfig;
class GameData;

struct FadeState {
    int32_t kind = 0;     // 0 cut, 1 whole screen, 2 two side panels
    int32_t counter = 0;  // 0 open .. 30 fully covered
    bool closing = false;
};

// Scene-change codes returned by NextScene().
enum SceneCode : int { kSceneStay = 0, kSceneTitle = 1, kSceneGame = 2 };

class CScene {
public:
    CScene();
    virtual ~CScene();  // frees the fade record

    virtual void EnterState(int newState);
    virtual void RequestState(int newState, int fadeKind);
    virtual void Begin(KeyConfig* keys, GameData* data);
    virtual void Draw();
    virtual void Update();
    virtual int NextScene();
    virtual void SetKeyConfig(KeyConfig* keys);
    virtual void SetGameData(GameData* data);

    int32_t state = 0;
    KeyConfig* keyConfig = nullptr;
    GameData* gameData = nullptr;
    FadeState* fade = nullptr;
    int32_t pendingState = 0;
    int32_t fadeKind = 0;
};

// Draws the fade overlay for the record's counter and kind (may change the record).
void DrawFade(FadeState* fade);
