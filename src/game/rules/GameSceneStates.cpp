// Game-scene states: entry actions and per-frame logic. (Minimal until the rules land.)
#include "game/rules/GameScene.h"

void CGameScene::EnterState(int newState) {
    state = newState;
    pendingState = newState;
}

void CGameScene::Update() { CScene::Update(); }
