// The new day. (Placeholder until the rules land.)
#include "game/rules/GameScene.h"

void CGameScene::RunNewDay() {}
