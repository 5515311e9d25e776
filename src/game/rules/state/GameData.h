// The player's game state and the kind tables, shared by every scene.
#pragma once

#include <array>
#include <cstdint>

// A character's own statistics; a kind starts its characters with its own.
struct UnitStats {
    int32_t level = 0;
    int32_t hp = 0;
    int32_t maxHp = 0;
    int32_t hpGrowth = 0;
    int32_t attack = 0;
    int32_t attackGrowth = 0;
    int32_t defence = 0;
    int32_t defenceGrowth = 0;
};

// Numbers of a unit kind or an enemy kind: the statistics its characters start
// with, and what the kind costs and yields.
struct UnitRecord : UnitStats {
    int32_t breedCost = 0;
    int32_t huntYield = 0;
    int32_t fundsYield = 0;
    int32_t levelUpCost = 0;
    char imageName[30] = {};
};

enum OrderKind : int32_t {
    kOrderHunt = 0,
    kOrderRaiseFunds = 1,
    kOrderSetTrap = 2,
    kOrderBreed = 3,
    kOrderLevelUp = 4
};

struct UnitOrder {
    int32_t daysLeft = 0;  // idle at 0 or less
    int32_t kind = 0;
    int32_t amount = 0;
};

struct PlayerRecord {
    int32_t food = 0;
    int32_t money = 0;
    int32_t traps = 0;
    int32_t day = 0;
    std::array<int32_t, 4> unitLevel{};
    std::array<UnitOrder, 4> orders{};
};

class GameData {
public:
    GameData();  // every field 0

    // Starting values of a new game.
    void ResetPlayer();
    // Fills the unit and enemy kind tables.
    void FillKindTables();

    PlayerRecord player;
    std::array<UnitRecord, 100> enemyKinds{};
    std::array<UnitRecord, 4> unitKinds{};
};

// Copies a kind's statistics into stats.
void CopyKindStats(const UnitRecord& kind, UnitStats& stats);

// Grows stats for level L: three GetRandom(40) draws (hp, attack, defence), then level = L.
void ApplyLevel(UnitStats& stats, int32_t level);
