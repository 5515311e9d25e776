// Raids: the raider by the calendar, traps, the defence lines, exchanges and the ends of a battle.
#include <algorithm>
#include <cstring>
#include <set>

#include "RulesTestSupport.h"
#include "objects/DamageEffect.h"
#include "resources/SoundStore.h"
#include "title/TitleScene.h"

namespace rulestest {
namespace {

class Raid : public RulesTest {
protected:
    CGameChar& Raider() { return *Screen().raider; }
    UnitStats& RaiderStats() { return *Screen().raider->stats; }
    CGameChar& Front(size_t line) { return *Screen().lines[line][Screen().lineFront[line]]; }
    // Enters the raid directly; the lines and the raider are set up.
    void StartRaid() { Scene().EnterState(kStateRaidAlert); }
    // Leaves only one idle unit: the first yellow one.
    void LoneDefender() {
        SetUnitCount(0, 1);
        for (int k = 1; k < 4; ++k) SetUnitCount(k, 0);
    }
    // One exchange; returns the damage dealt to the raider.
    int32_t Exchange() {
        const int32_t before = RaiderStats().hp;
        Scene().RunExchange();
        return before - RaiderStats().hp;
    }
};

TEST_F(Raid, RaiderByTheCalendar) {
    Player().day = 40;  // kind 4 at level 40 / 4 + 1 = 11
    StartRaid();
    EXPECT_EQ(RaiderStats().level, 11);
    EXPECT_EQ(RaiderStats().hp, RaiderStats().maxHp);
    EXPECT_GE(RaiderStats().maxHp, 650 + 80 * 170 * 14 / 100);
    EXPECT_LE(RaiderStats().maxHp, 650 + 120 * 170 * 14 / 100);
    EXPECT_GE(RaiderStats().attack, 200 + 80 * 90 * 14 / 100);
    EXPECT_LE(RaiderStats().attack, 200 + 120 * 90 * 14 / 100);
    EXPECT_EQ(Raider().m_graphics.size(), 1u);
    EXPECT_EQ(Raider().mode, kCharStand);
    EXPECT_EQ(Raider().m_x, 100);
    EXPECT_EQ(Raider().m_y, 47);

    Player().day = 100;  // kind 5 at level 26
    StartRaid();
    EXPECT_EQ(RaiderStats().level, 26);
    EXPECT_GE(RaiderStats().maxHp, 800 + 80 * 250 * 29 / 100);
    EXPECT_LE(RaiderStats().maxHp, 800 + 120 * 250 * 29 / 100);
    EXPECT_GE(RaiderStats().defence, 150 + 80 * 75 * 29 / 100);
    EXPECT_LE(RaiderStats().defence, 150 + 120 * 75 * 29 / 100);
    EXPECT_EQ(Raider().m_graphics.size(), 1u);

    // Ordinary days: kinds 0..3 at level day / 6 - 3 .. day / 6 (stats made afresh each raid).
    std::set<int32_t> levels;
    for (int i = 0; i < 40; ++i) {
        Player().day = 13;
        StartRaid();
        levels.insert(RaiderStats().level);
        EXPECT_GE(RaiderStats().level, -1);
        EXPECT_LE(RaiderStats().level, 2);
        const int32_t f = RaiderStats().level + 3;
        EXPECT_GE(RaiderStats().maxHp, 150 + 80 * 50 * f / 100);
        EXPECT_LE(RaiderStats().maxHp, 350 + 120 * 120 * f / 100);
    }
    EXPECT_GE(levels.size(), 3u);
    Player().day = 1;
    StartRaid();
    EXPECT_GE(RaiderStats().level, -3);
    EXPECT_LE(RaiderStats().level, 0);
}

TEST_F(Raid, TrapsTakeATwelfthAndTwelveLeaveAHundred) {
    Player().traps = 3;
    StartRaid();
    EXPECT_EQ(RaiderStats().hp, RaiderStats().maxHp - RaiderStats().maxHp * 3 / 12);
    EXPECT_EQ(Player().traps, 2);

    Player().traps = 11;
    StartRaid();
    EXPECT_EQ(RaiderStats().hp, RaiderStats().maxHp - RaiderStats().maxHp * 11 / 12);
    EXPECT_EQ(Player().traps, 10);

    Player().traps = 12;
    StartRaid();
    EXPECT_EQ(RaiderStats().hp, 100);
    EXPECT_EQ(Player().traps, 11);

    Player().traps = 2000000000;  // the product is formed wide
    StartRaid();
    EXPECT_EQ(RaiderStats().hp, 100);
    EXPECT_EQ(Player().traps, 1999999999);

    Player().traps = 0;
    StartRaid();
    EXPECT_EQ(RaiderStats().hp, RaiderStats().maxHp);
    EXPECT_EQ(Player().traps, 0);
}

TEST_F(Raid, IdleUnitsFormThreeLinesBusyOnesStayOut) {
    Player().orders[1].daysLeft = 1;
    StartRaid();
    std::vector<CGameChar*> all;
    for (size_t j = 0; j < 3; ++j) {
        ASSERT_EQ(Screen().lines[j].size(), 3u);
        EXPECT_EQ(Screen().lineFront[j], 0u);
        int i = 0;
        for (CGameChar* c : Screen().lines[j]) {
            EXPECT_EQ(c->mode, kCharStand);
            EXPECT_EQ(c->m_x, 44 - 10 * i);
            EXPECT_EQ(c->m_y, 40 + 7 * static_cast<int>(j));
            EXPECT_NE(c->colour, 1);
            all.push_back(c);
            ++i;
        }
    }
    EXPECT_EQ(std::set<CGameChar*>(all.begin(), all.end()).size(), 9u);
    // Each colour gives its units in list order.
    for (size_t k : {0u, 2u, 3u}) {
        std::vector<CGameChar*> order;
        for (size_t n = 0; n < 3; ++n)
            for (size_t j = 0; j < 3; ++j)
                if (n < Screen().lines[j].size() && Screen().lines[j][n]->colour == static_cast<int>(k))
                    order.push_back(Screen().lines[j][n]);
        // Placement order is line-major per round: round n fills lines 0, 1, 2.
        std::vector<CGameChar*> expected(Screen().units[k].begin(), Screen().units[k].end());
        EXPECT_EQ(order, expected);
    }
    EXPECT_EQ(Scene().stateTimer, 30);
    EXPECT_EQ(Screen().activeLine, 0);
}

TEST_F(Raid, LineUpWalksBothSidesTogether) {
    StartRaid();
    Front(0).m_x = 3;
    Scene().EnterState(kStateLineUp);
    EXPECT_EQ(Front(0).m_x, 44);
    EXPECT_EQ(Front(0).mode, kCharWalkRight);
    EXPECT_EQ(Raider().mode, kCharWalkLeft);
    EXPECT_EQ(Scene().stateTimer, 20);
}

TEST_F(Raid, ALoneDefenderCountsOneAndAHalfTimes) {
    LoneDefender();
    StartRaid();
    ASSERT_EQ(Screen().lines[0].size(), 1u);
    EXPECT_TRUE(Screen().lines[1].empty());
    EXPECT_TRUE(Screen().lines[2].empty());
    Scene().EnterState(kStateLineUp);
    CGameChar& f = Front(0);
    f.stats->attack = 600;  // S = 300 + 600 = 900, X = trunc((300 + 0.9) x 0.5) = 150
    f.stats->defence = 0;
    RaiderStats().defence = 0;
    RaiderStats().attack = 0;
    std::set<int32_t> seen;
    for (int i = 0; i < 40; ++i) {
        RaiderStats().hp = 1000000;
        f.stats->hp = 1000;
        const int32_t d = Exchange();
        EXPECT_GE(d, 120);
        EXPECT_LE(d, 180);
        seen.insert(d);
        EXPECT_EQ(f.stats->hp, 1000);  // raw 0 against defence quarter 0: no damage
        EXPECT_EQ(Screen().activeLine, 0);
        EXPECT_EQ(Scene().state, kStateAfterExchange);
    }
    EXPECT_GE(seen.size(), 5u);
    EXPECT_EQ(Raider().mode, kCharWalkRight);
    EXPECT_EQ(f.mode, kCharWalkLeft);

    // A second front fighter adds its attack once: S = 300 + 600 + 300, X = 200.
    SetUnitCount(1, 1);
    StartRaid();
    Scene().EnterState(kStateLineUp);
    for (size_t j = 0; j < 2; ++j) {
        Front(j).stats->attack = Front(j).colour == 0 ? 600 : 300;
        Front(j).stats->defence = 0;
        Front(j).stats->hp = 1000;
    }
    RaiderStats().defence = 0;
    RaiderStats().attack = 0;
    Screen().activeLine = Front(0).colour == 0 ? 0 : 1;
    for (int i = 0; i < 20; ++i) {
        RaiderStats().hp = 1000000;
        if (Front(static_cast<size_t>(Screen().activeLine)).colour != 0) {
            Scene().RunExchange();
            continue;
        }
        const int32_t d = Exchange();
        EXPECT_GE(d, 160);
        EXPECT_LE(d, 240);
    }
}

TEST_F(Raid, DefenceDecidesBetweenOneAndZeroDamage) {
    LoneDefender();
    StartRaid();
    Scene().EnterState(kStateLineUp);
    CGameChar& f = Front(0);
    f.stats->hp = 100;
    f.stats->attack = 0;       // X = trunc(0.45) = 0: no raw damage either way
    RaiderStats().attack = 1;  // trunc(1 / 2) = 0
    RaiderStats().hp = 100;

    f.stats->defence = 4;       // quarter 1 exceeds the raw 0: one point
    RaiderStats().defence = 3;  // quarter 0 equals the raw 0: nothing
    EXPECT_EQ(Exchange(), 0);
    EXPECT_EQ(f.stats->hp, 99);
    ASSERT_EQ(Scene().effectPool->running.size(), 2u);
    const CDamageEffect* toFront = Scene().effectPool->running.front();
    const CDamageEffect* toRaider = Scene().effectPool->running.back();
    EXPECT_EQ(toFront->m_number.m_value, 1);
    EXPECT_EQ(toFront->m_x, 72);
    EXPECT_EQ(toFront->m_y, 50);
    EXPECT_EQ(toRaider->m_number.m_value, 0);
    EXPECT_EQ(toRaider->m_x, 88);
    EXPECT_EQ(toRaider->m_y, 50);

    f.stats->defence = 3;
    RaiderStats().defence = 400;
    EXPECT_EQ(Exchange(), 1);
    EXPECT_EQ(f.stats->hp, 99);
}

TEST_F(Raid, FallingFightersLeaveTheirLine) {
    StartRaid();
    Scene().EnterState(kStateLineUp);
    CGameChar& first = Front(0);
    CGameChar* second = Screen().lines[0][1];
    first.stats->hp = 1;
    first.stats->defence = 0;
    RaiderStats().attack = 1000;
    RaiderStats().hp = 1000000;
    Scene().RunExchange();
    EXPECT_EQ(first.mode, kCharFlyLeft);
    EXPECT_EQ(Screen().lineFront[0], 1u);
    EXPECT_EQ(second->mode, kCharWalkLeftSlow);
    EXPECT_EQ(Screen().lines[1][0]->mode, kCharWalkLeft);
    EXPECT_EQ(Screen().activeLine, 1);
    EXPECT_EQ(Scene().state, kStateAfterExchange);
    // The fallen stays in its line and its colour's list.
    EXPECT_EQ(Screen().lines[0][0], &first);
    const auto& list = Screen().units[static_cast<size_t>(first.colour)];
    EXPECT_NE(std::find(list.begin(), list.end(), &first), list.end());
    // The next line-up puts the new front in front.
    Scene().EnterState(kStateLineUp);
    EXPECT_EQ(second->m_x, 44);
    EXPECT_EQ(second->mode, kCharWalkRight);
}

TEST_F(Raid, ADoubleKnockOutIsADefeat) {
    LoneDefender();
    StartRaid();
    Scene().EnterState(kStateLineUp);
    CGameChar& f = Front(0);
    f.stats->hp = 1;
    f.stats->defence = 0;
    f.stats->attack = 600;
    RaiderStats().hp = 1;
    RaiderStats().defence = 0;
    RaiderStats().attack = 1000;
    Scene().EnterState(kStateExchange);
    Step();
    EXPECT_LE(RaiderStats().hp, 0);
    EXPECT_FALSE(Screen().raiderBeaten);
    EXPECT_EQ(Scene().state, kStateBattleOver);
    EXPECT_NE(Raider().mode, kCharFlyRight);
    Step();
    EXPECT_EQ(Scene().state, kStateDefeat);
    EXPECT_EQ(Scene().stateTimer, 300);
}

TEST_F(Raid, WithEveryColourBusyTheRaidIsLostWithoutAnExchange) {
    for (auto& order : Player().orders) order.daysLeft = 2;
    ToCommandMenu();
    Scene().raidPressure = 95;
    Choose(6);
    ASSERT_GE(StepUntil([&] { return Scene().state == kStateRaidAlert; }), 0);
    for (const auto& line : Screen().lines) EXPECT_TRUE(line.empty());
    const int32_t hp = RaiderStats().hp;
    Press(kKeyZ);  // the message is read, but 30 frames must pass first
    EXPECT_EQ(Scene().state, kStateRaidAlert);
    const int frames = StepUntil([&] { return Scene().state != kStateRaidAlert; });
    EXPECT_EQ(frames, 27);
    EXPECT_EQ(Scene().state, kStateDefeat);
    EXPECT_EQ(Raider().mode, kCharWalkLeft);
    EXPECT_EQ(RaiderStats().hp, hp);
    EXPECT_TRUE(Scene().effectPool->running.empty());
}

TEST_F(Raid, TheRaidWaitsForItsMessage) {
    StartRaid();
    Steps(40);
    EXPECT_EQ(Scene().state, kStateRaidAlert);  // not read yet
    Step({kKeyZ});
    EXPECT_EQ(Scene().state, kStateLineUp);
}

TEST_F(Raid, VictoryLeadsThroughTheAftermathToTheNewDay) {
    ToCommandMenu();
    Scene().raidPressure = 95;
    Choose(6);
    ASSERT_GE(StepUntil([&] { return Scene().state == kStateRaidAlert; }), 0);
    CGameChar* fallen = &Front(0);
    fallen->stats->hp = 1;
    fallen->stats->defence = 0;
    CGameChar& survivor = *Screen().lines[1][0];
    survivor.stats->hp = 7;
    RaiderStats().hp = 1;
    RaiderStats().defence = 0;
    RaiderStats().attack = 1000;
    const int32_t fallenColour = fallen->colour;

    Press(kKeyZ);
    ASSERT_GE(StepUntil([&] { return Scene().state == kStateLineUp; }), 0);
    ASSERT_GE(StepUntil([&] { return Scene().state != kStateLineUp && Scene().state != kStateExchange; }), 0);
    // One exchange: the front of line 0 and the raider both fall, the other lines stand.
    EXPECT_EQ(Scene().state, kStateBattleOver);
    EXPECT_TRUE(Screen().raiderBeaten);
    EXPECT_EQ(Raider().mode, kCharFlyRight);
    Step();
    ASSERT_EQ(Scene().state, kStateVictory);
    EXPECT_EQ(SoundStore::Instance()->m_musicName, "sound/Win.mp3");
    Press(kKeyZ);
    EXPECT_EQ(Scene().pendingState, kStateAftermath);

    int frames = 0;
    while (Scene().state == kStateVictory) {
        Step();
        ASSERT_LT(++frames, 40);
    }
    // The aftermath is entered and left within one update.
    EXPECT_EQ(Scene().state, kStateNewDay);
    EXPECT_EQ(Player().day, 2);
    EXPECT_EQ(Scene().stateTimer, 15);  // set after this update's count-down
    EXPECT_EQ(Screen().units[static_cast<size_t>(fallenColour)].size(), 2u);
    size_t total = 0;
    for (const auto& list : Screen().units) {
        total += list.size();
        for (CGameChar* c : list) {
            EXPECT_NE(c, fallen);
            EXPECT_TRUE(c->visible);
            EXPECT_TRUE(c->mode == kCharAppear || c->mode == kCharWander);
        }
    }
    EXPECT_EQ(total, 11u);
    EXPECT_EQ(survivor.stats->hp, 7);  // nobody heals
    Scene().Draw();                    // the lines' layer is off: nothing reads them
    Scene().Update();
    EXPECT_EQ(Value(2 * static_cast<size_t>(fallenColour) + 1), 2);
}

TEST_F(Raid, DefeatReturnsToTheTitleAndANewGameStartsAfresh) {
    Player().food = 5;
    Player().money = 999;
    Player().traps = 4;
    Player().day = 33;
    Player().unitLevel = {2, 3, 4, 5};
    Player().orders[2] = {2, kOrderHunt, 40};
    StartRaid();
    Scene().EnterState(kStateDefeat);
    Steps(299);
    EXPECT_EQ(Scene().pendingState, kStateDefeat);
    Step();
    EXPECT_EQ(Scene().pendingState, kStateLeave);
    Steps(28);
    EXPECT_EQ(Scene().state, kStateDefeat);
    EXPECT_EQ(Scene().NextScene(), 0);
    Step();
    EXPECT_EQ(Scene().state, kStateLeave);
    EXPECT_EQ(Scene().NextScene(), 1);

    // The main loop's way from here: a title scene, whose decide asks for a new game.
    const GameData tables = Data();
    KeyConfig keys = gametest::StandardKeys();
    SoundStore::Instance()->StopMusic();
    auto title = std::make_unique<CTitleScene>();
    title->Begin(&keys, &Data());
    int code = 0;
    for (int i = 0; i < 400 && code == 0; ++i) {
        gametest::Frame(i % 20 == 10 ? std::initializer_list<int>{kKeyZ} : std::initializer_list<int>{});
        title->Update();
        title->Draw();
        code = title->NextScene();
    }
    ASSERT_EQ(code, 2);
    Data().ResetPlayer();
    title.reset();
    SoundStore::Instance()->StopMusic();
    CGameScene second;
    second.Begin(&keys, &Data());
    const PlayerRecord& p = Data().player;
    EXPECT_EQ(p.food, 100);
    EXPECT_EQ(p.money, 100);
    EXPECT_EQ(p.traps, 0);
    EXPECT_EQ(p.day, 1);
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(p.unitLevel[k], 1);
        EXPECT_EQ(p.orders[k].daysLeft, 0);
        EXPECT_EQ(p.orders[k].kind, 0);
        EXPECT_EQ(p.orders[k].amount, 0);
        EXPECT_EQ(second.screen->units[k].size(), 3u);
    }
    EXPECT_EQ(second.raidPressure, 0);
    auto same = [](const UnitRecord& a, const UnitRecord& b) {
        return a.level == b.level && a.hp == b.hp && a.maxHp == b.maxHp && a.hpGrowth == b.hpGrowth &&
               a.attack == b.attack && a.attackGrowth == b.attackGrowth && a.defence == b.defence &&
               a.defenceGrowth == b.defenceGrowth && a.breedCost == b.breedCost && a.huntYield == b.huntYield &&
               a.fundsYield == b.fundsYield && a.levelUpCost == b.levelUpCost &&
               std::strcmp(a.imageName, b.imageName) == 0;
    };
    for (size_t i = 0; i < 4; ++i) EXPECT_TRUE(same(tables.unitKinds[i], Data().unitKinds[i]));
    for (size_t i = 0; i < 100; ++i) EXPECT_TRUE(same(tables.enemyKinds[i], Data().enemyKinds[i]));
}

}  // namespace
}  // namespace rulestest
