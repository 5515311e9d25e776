// Raids and battle. (Placeholder until the rules land.)
#include "game/rules/GameScene.h"

void CGameScene::RollRaid() {}
void CGameScene::SetUpRaid() {}
void CGameScene::FormLines() {}
void CGameScene::RunExchange() {}
void CGameScene::CleanUpAfterBattle() {}
