// The player's record and its new-game values.
#include "game/rules/state/GameData.h"

GameData::GameData() = default;

void GameData::ResetPlayer() {
    player.food = 100;
    player.money = 100;
    player.traps = 0;
    player.day = 1;
    player.unitLevel = {1, 1, 1, 1};
    player.orders = {};
}

void CopyKindStats(const UnitRecord& kind, UnitStats& stats) { stats = kind; }
