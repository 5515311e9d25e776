// The fixed unit and enemy kind tables.
#include <cstring>

#include "game/rules/state/GameData.h"

namespace {

struct UnitKindRow {
    int32_t maxHp, hpGrowth, attack, attackGrowth, defence, defenceGrowth;
    int32_t breedCost, huntYield, fundsYield, levelUpCost;
};

// Yellow, Blue, Red, Green.
constexpr UnitKindRow kUnitKinds[4] = {
    {90, 80, 150, 65, 90, 65, 13, 10, 8, 25},
    {75, 50, 180, 80, 240, 110, 20, 8, 10, 35},
    {40, 45, 240, 120, 140, 30, 40, 5, 20, 50},
    {32, 50, 120, 50, 120, 50, 30, 20, 5, 25},
};

struct EnemyKindRow {
    int32_t maxHp, hpGrowth, attack, attackGrowth, defence, defenceGrowth;
    const char* image;
};

// The kinds raids choose from.
constexpr EnemyKindRow kEnemyKinds[6] = {
    {250, 50, 200, 60, 150, 50, "enemy_1.bmp"},  {230, 70, 230, 60, 130, 55, "enemy_2.bmp"},
    {150, 90, 160, 80, 200, 50, "enemy_3.bmp"},  {350, 120, 205, 90, 180, 80, "enemy_4.bmp"},
    {650, 170, 200, 90, 150, 60, "enemy_5.bmp"}, {800, 250, 180, 85, 150, 75, "enemy_6.bmp"},
};

void SetImageName(UnitRecord& record, const char* name) {
    std::memset(record.imageName, 0, sizeof record.imageName);
    std::strncpy(record.imageName, name, sizeof record.imageName - 1);
}

}  // namespace

void GameData::FillKindTables() {
    for (int k = 0; k < 4; ++k) {
        UnitRecord& u = unitKinds[k];
        u.hp = u.maxHp = u.hpGrowth = u.attack = u.attackGrowth = u.defence = u.defenceGrowth = 10;
        u.breedCost = u.huntYield = u.fundsYield = u.levelUpCost = 10;
        const UnitKindRow& row = kUnitKinds[k];
        u.maxHp = row.maxHp;
        u.hpGrowth = row.hpGrowth;
        u.attack = row.attack;
        u.attackGrowth = row.attackGrowth;
        u.defence = row.defence;
        u.defenceGrowth = row.defenceGrowth;
        u.breedCost = row.breedCost;
        u.huntYield = row.huntYield;
        u.fundsYield = row.fundsYield;
        u.levelUpCost = row.levelUpCost;
    }
    for (int k = 0; k < 10; ++k) {
        UnitRecord& e = enemyKinds[k];
        e.hp = 100;
        e.maxHp = 100;
        e.hpGrowth = e.attack = e.attackGrowth = e.defence = e.defenceGrowth = 20;
        SetImageName(e, "enemy_s.png");
    }
    for (int k = 0; k < 6; ++k) {
        UnitRecord& e = enemyKinds[k];
        const EnemyKindRow& row = kEnemyKinds[k];
        e.maxHp = row.maxHp;
        e.hpGrowth = row.hpGrowth;
        e.attack = row.attack;
        e.attackGrowth = row.attackGrowth;
        e.defence = row.defence;
        e.defenceGrowth = row.defenceGrowth;
        SetImageName(e, row.image);
    }
}
