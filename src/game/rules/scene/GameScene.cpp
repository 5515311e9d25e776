// The game scene's life: construction, teardown and the scene-change answer.
#include "game/rules/scene/GameScene.h"

#include "game/world/DamageEffectPool.h"
#include "game/world/GameScreen.h"

CGameScene::CGameScene() : screen(new GameScreen()), effectPool(new DamageEffectPool()) {}

CGameScene::CGameScene(GameScreen* builtScreen, DamageEffectPool* pool) : screen(builtScreen), effectPool(pool) {}

CGameScene::~CGameScene() {
    delete screen;
    screen = nullptr;
    delete effectPool;
    effectPool = nullptr;
}

int CGameScene::NextScene() { return state == kStateLeave ? kSceneTitle : kSceneStay; }

void CGameScene::SetKeyConfig(KeyConfig*) {}
