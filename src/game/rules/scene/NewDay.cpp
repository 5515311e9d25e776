// The new day: the calendar moves on and the orders that are due complete.
#include "game/rules/scene/GameScene.h"
#include "game/rules/scene/RuleMath.h"
#include "game/rules/state/GameData.h"
#include "game/world/GameChar.h"
#include "game/world/GameScreen.h"

namespace {

// One bred unit: grown once, put on the map, grown a second time, then sent out of the hole.
void BreedUnit(GameScreen& screen, const GameData& data, size_t colour) {
    const int32_t level = data.player.unitLevel[colour];
    auto* stats = new UnitStats{};
    CopyKindStats(data.unitKinds[colour], *stats);
    ApplyLevel(*stats, level);
    auto* unit = new CGameChar();
    SetupUnitGraphics(*unit, static_cast<int>(colour));
    unit->stats = stats;
    screen.units[colour].push_back(unit);
    ApplyLevel(*stats, level);
    unit->SetMode(kCharComeUp);
}

void GrowLevels(UnitStats& stats, int32_t amount) {
    stats.maxHp = rules::SatAdd(stats.maxHp, rules::SatMul(stats.hpGrowth, amount));
    stats.level = rules::SatAdd(stats.level, amount);
    stats.attack = rules::SatAdd(stats.attack, rules::SatMul(stats.attackGrowth, amount));
    stats.defence = rules::SatAdd(stats.defence, rules::SatMul(stats.defenceGrowth, amount));
}

}  // namespace

void CGameScene::RunNewDay() {
    GameScreen& s = *screen;
    PlayerRecord& player = gameData->player;

    player.day = rules::SatAdd(player.day, 1);
    for (UnitOrder& order : player.orders) order.daysLeft = rules::SatSub(order.daysLeft, 1);

    for (size_t k = 0; k < 4; ++k) {
        const UnitOrder& order = player.orders[k];
        if (order.daysLeft != 0) continue;
        for (CGameChar* unit : s.units[k]) unit->SetMode(kCharComeUp);
        switch (order.kind) {
            case kOrderHunt: player.food = rules::SatAdd(player.food, order.amount); break;
            case kOrderRaiseFunds: player.money = rules::SatAdd(player.money, order.amount); break;
            case kOrderSetTrap: player.traps = rules::SatAdd(player.traps, order.amount); break;
            case kOrderBreed:
                for (int32_t i = 0; i < order.amount; ++i) BreedUnit(s, *gameData, k);
                break;
            case kOrderLevelUp:
                player.unitLevel[k] = rules::SatAdd(player.unitLevel[k], order.amount);
                for (CGameChar* unit : s.units[k])
                    if (unit->stats) GrowLevels(*unit->stats, order.amount);
                break;
            default: break;
        }
    }
    stateTimer = 15;
}
