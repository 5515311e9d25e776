// The six commands: offers and orders. (Placeholder until the rules land.)
#include "game/rules/GameScene.h"

void CGameScene::PrepareOffer(int) {}
bool CGameScene::TryOrder(int) { return false; }
