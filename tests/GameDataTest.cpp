// Game data: new-game values, the kind tables, and the level growth with its draws.
#include <gtest/gtest.h>

#include <cstring>

#include "GameTestSupport.h"
#include "game/rules/state/GameData.h"
#include "media/core/Random.h"

namespace {

TEST(GameData, NewGameValuesAndUntouchedTables) {
    GameData data;
    EXPECT_EQ(data.player.food, 0);
    EXPECT_EQ(data.unitKinds[0].hp, 0);
    data.ResetPlayer();
    data.FillKindTables();
    const GameData fresh = data;

    // A game is played: everything in the record changes.
    data.player.food = -5;
    data.player.money = 12345;
    data.player.traps = 7;
    data.player.day = 99;
    data.player.unitLevel = {4, 5, 6, 7};
    data.player.orders[2] = {-3, kOrderLevelUp, 2};
    data.ResetPlayer();

    EXPECT_EQ(data.player.food, 100);
    EXPECT_EQ(data.player.money, 100);
    EXPECT_EQ(data.player.traps, 0);
    EXPECT_EQ(data.player.day, 1);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(data.player.unitLevel[k], 1);
        EXPECT_EQ(data.player.orders[k].daysLeft, 0);
        EXPECT_EQ(data.player.orders[k].kind, 0);
        EXPECT_EQ(data.player.orders[k].amount, 0);
    }
    // A second new game leaves the tables exactly as after start-up.
    EXPECT_EQ(std::memcmp(&data.unitKinds, &fresh.unitKinds, sizeof data.unitKinds), 0);
    EXPECT_EQ(std::memcmp(&data.enemyKinds, &fresh.enemyKinds, sizeof data.enemyKinds), 0);
}

TEST(GameData, KindTables) {
    GameData data;
    data.FillKindTables();

    // Unit kinds: hp stays at the common 10, level at 0, no picture.
    for (const UnitRecord& u : data.unitKinds) {
        EXPECT_EQ(u.hp, 10);
        EXPECT_EQ(u.level, 0);
        EXPECT_STREQ(u.imageName, "");
    }
    const UnitRecord& blue = data.unitKinds[1];
    EXPECT_EQ(blue.maxHp, 75);
    EXPECT_EQ(blue.defence, 240);
    EXPECT_EQ(blue.defenceGrowth, 110);
    EXPECT_EQ(blue.levelUpCost, 35);
    const UnitRecord& green = data.unitKinds[3];
    EXPECT_EQ(green.huntYield, 20);
    EXPECT_EQ(green.fundsYield, 5);
    EXPECT_EQ(data.unitKinds[2].breedCost, 40);
    EXPECT_EQ(data.unitKinds[0].attack, 150);

    // Enemy kinds 0-5 from the table, 6-9 the common small enemy, the rest zero.
    EXPECT_EQ(data.enemyKinds[0].hp, 100);
    EXPECT_EQ(data.enemyKinds[0].maxHp, 250);
    EXPECT_STREQ(data.enemyKinds[0].imageName, "enemy_1.bmp");
    EXPECT_EQ(data.enemyKinds[5].maxHp, 800);
    EXPECT_EQ(data.enemyKinds[5].hpGrowth, 250);
    EXPECT_EQ(data.enemyKinds[5].breedCost, 0);
    EXPECT_STREQ(data.enemyKinds[5].imageName, "enemy_6.bmp");
    for (int k = 6; k < 10; ++k) {
        const UnitRecord& e = data.enemyKinds[k];
        EXPECT_EQ(e.hp, 100);
        EXPECT_EQ(e.maxHp, 100);
        EXPECT_EQ(e.attack, 20);
        EXPECT_EQ(e.defenceGrowth, 20);
        EXPECT_EQ(e.level, 0);
        EXPECT_STREQ(e.imageName, "enemy_s.png");
    }
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(std::strlen(data.enemyKinds[k].imageName), 11u);
    }
    const UnitRecord zero{};
    for (int k = 10; k < 100; ++k) {
        EXPECT_EQ(std::memcmp(&data.enemyKinds[k], &zero, sizeof zero), 0) << "kind " << k;
    }
}

TEST(GameData, CopyKindStatsTakesTheFirstEightFields) {
    UnitRecord r;
    r.level = 1;
    r.hp = 2;
    r.maxHp = 3;
    r.hpGrowth = 4;
    r.attack = 5;
    r.attackGrowth = 6;
    r.defence = 7;
    r.defenceGrowth = 8;
    r.breedCost = 9;
    UnitStats s;
    CopyKindStats(r, s);
    const int32_t got[8] = {s.level, s.hp, s.maxHp, s.hpGrowth, s.attack, s.attackGrowth, s.defence, s.defenceGrowth};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(got[i], i + 1);
}

// With growth 100 and level -2 (factor 1) each growth equals its draw + 80, so
// the three draws can be read back from the statistics.
UnitStats Revealing() {
    UnitStats s;
    s.hpGrowth = s.attackGrowth = s.defenceGrowth = 100;
    return s;
}

TEST(ApplyLevel, GrowsByTheDrawnFactorAndSetsLevel) {
    gametest::WorkFolder folder(false);
    for (int i = 0; i < 200; ++i) {
        UnitStats s = Revealing();
        ApplyLevel(s, -2);
        EXPECT_EQ(s.level, -2);
        EXPECT_EQ(s.hp, s.maxHp);
        for (int32_t v : {s.maxHp, s.attack, s.defence}) {
            EXPECT_GE(v, 80);
            EXPECT_LE(v, 120);
        }
    }
    // Level -3: factor 0, no growth at all; hp still takes maxHp.
    UnitStats none;
    none.maxHp = 90;
    none.hp = 3;
    none.hpGrowth = 80;
    none.attack = 150;
    none.attackGrowth = 65;
    ApplyLevel(none, -3);
    EXPECT_EQ(none.maxHp, 90);
    EXPECT_EQ(none.hp, 90);
    EXPECT_EQ(none.attack, 150);
    EXPECT_EQ(none.level, -3);

    // Level 1 of a yellow unit: 90 + trunc((80..120) x 80 x 4 / 100).
    for (int i = 0; i < 100; ++i) {
        UnitStats y;
        y.maxHp = 90;
        y.hpGrowth = 80;
        y.attack = 150;
        y.attackGrowth = 65;
        y.defence = 90;
        y.defenceGrowth = 65;
        ApplyLevel(y, 1);
        EXPECT_GE(y.maxHp, 90 + 256);
        EXPECT_LE(y.maxHp, 90 + 384);
        EXPECT_GE(y.attack, 150 + 208);
        EXPECT_LE(y.attack, 150 + 312);
    }
    // Growth adds to what is there: applying twice grows twice.
    UnitStats twice = Revealing();
    ApplyLevel(twice, -2);
    ApplyLevel(twice, -2);
    EXPECT_GE(twice.maxHp, 160);
    EXPECT_LE(twice.maxHp, 240);
}

TEST(ApplyLevel, DrawsHitPointsThenAttackThenDefence) {
    gametest::WorkFolder folder(false, 777);
    media::MersenneTwister reference(777);
    auto draw40 = [&reference] { return static_cast<int32_t>((uint64_t{reference.Next()} * 41) >> 32); };
    for (int round = 0; round < 20; ++round) {
        const int32_t hp = draw40(), attack = draw40(), defence = draw40();
        UnitStats s = Revealing();
        ApplyLevel(s, -2);
        EXPECT_EQ(s.maxHp, 80 + hp);
        EXPECT_EQ(s.attack, 80 + attack);
        EXPECT_EQ(s.defence, 80 + defence);
    }
    // A yellow unit at level 2: factor 5, the draws scale 80 x 5 / 100 = 4 per percent.
    const int32_t hp = draw40(), attack = draw40(), defence = draw40();
    UnitStats y;
    y.maxHp = 90;
    y.hpGrowth = 80;
    y.attack = 150;
    y.attackGrowth = 65;
    y.defence = 90;
    y.defenceGrowth = 65;
    ApplyLevel(y, 2);
    EXPECT_EQ(y.maxHp, 90 + (80 + hp) * 80 * 5 / 100);
    EXPECT_EQ(y.attack, 150 + static_cast<int32_t>((80 + attack) * 65 * 5 / 100.0));
    EXPECT_EQ(y.defence, 90 + static_cast<int32_t>((80 + defence) * 65 * 5 / 100.0));
    EXPECT_EQ(y.hp, y.maxHp);
}

TEST(ApplyLevel, NegativeGrowthTruncatesTowardZero) {
    gametest::WorkFolder folder(false);
    // (80..120) x (-1) x 1 / 100 = -0.8 .. -1.2: truncated to 0 or -1, never -2.
    for (int i = 0; i < 100; ++i) {
        UnitStats s;
        s.hpGrowth = -1;
        ApplyLevel(s, -2);
        EXPECT_GE(s.maxHp, -1);
        EXPECT_LE(s.maxHp, 0);
    }
}

TEST(ApplyLevel, HugeLevelsSaturateInsteadOfOverflowing) {
    gametest::WorkFolder folder(false);
    UnitStats s;
    s.maxHp = 2000000000;
    s.hpGrowth = 250;
    s.attackGrowth = 250;
    ApplyLevel(s, 2000000000);
    EXPECT_EQ(s.maxHp, 2147483647);
    EXPECT_EQ(s.hp, 2147483647);
    EXPECT_GT(s.attack, 0);
}

}  // namespace
