// The day: states and their layers and music, the evening roll, the new day and its orders.
#include <climits>

#include "RulesTestSupport.h"
#include "resources/SoundStore.h"

namespace rulestest {
namespace {

using DayCycle = RulesTest;

std::vector<int> OnLayers(const GameScreen& s) {
    std::vector<int> on;
    for (int i = 0; i < 20; ++i)
        if (s.layerVisible[static_cast<size_t>(i)]) on.push_back(i);
    return on;
}

TEST_F(DayCycle, EachStateSwitchesItsLayers) {
    const std::vector<int> map = {0, 1, 2, 3, 7};
    const struct {
        int state;
        std::vector<int> layers;
    } table[] = {
        {kStateGameStart, {}},
        {kStateCommandMenu, {0, 1, 2, 3, 5, 7}},
        {kStateChooseUnit, {0, 1, 2, 3, 6, 7}},
        {kStateEndOfDay, map},
        {kStateNewDay, map},
        {kStateRaidAlert, {0, 1, 2, 3, 8, 11, 12}},
        {kStateLineUp, {0, 1, 2, 3, 8, 11, 12}},
        {kStateExchange, {0, 1, 2, 3, 8, 11, 12}},
        {kStateAfterExchange, {0, 1, 2, 3, 8, 11, 12}},
        {kStateBattleOver, {0, 1, 2, 3, 11, 12}},
        {kStateVictory, {0, 1, 2, 3, 9, 11, 12}},
        {kStateDefeat, {0, 1, 2, 3, 10, 11, 12}},
        {kStateAftermath, {}},
        {kStateLeave, {}},
    };
    for (const auto& row : table) {
        if (row.state == kStateExchange) continue;  // needs a line-up; covered by the battle tests
        Scene().EnterState(row.state);
        EXPECT_EQ(Scene().state, row.state);
        EXPECT_EQ(Scene().pendingState, row.state);
        EXPECT_EQ(OnLayers(Screen()), row.layers) << "state " << row.state;
    }
    Scene().EnterState(13);
    EXPECT_EQ(Scene().state, kStateLeave);
    EXPECT_EQ(Scene().NextScene(), 1);
    Scene().EnterState(-2);
    EXPECT_EQ(Scene().state, kStateLeave);
}

TEST_F(DayCycle, MusicFollowsTheStateAndTheDay) {
    auto music = [] { return SoundStore::Instance()->m_musicName; };
    Scene().EnterState(kStateCommandMenu);
    EXPECT_EQ(music(), "sound/Normal1.mp3");
    Player().day = 40;
    Scene().EnterState(kStateCommandMenu);
    EXPECT_EQ(music(), "sound/Normal1_2.mp3");
    const struct {
        int day;
        const char* piece;
    } battles[] = {{49, "sound/Battle1.mp3"},     {50, "sound/Battle2.mp3"},     {80, "sound/BossBattle.mp3"},
                   {100, "sound/LastBattle.mp3"}, {200, "sound/LastBattle.mp3"}, {120, "sound/BossBattle.mp3"}};
    for (const auto& b : battles) {
        Player().day = b.day;
        Scene().EnterState(kStateRaidAlert);
        EXPECT_EQ(music(), b.piece) << "day " << b.day;
    }
    Scene().EnterState(kStateVictory);
    EXPECT_EQ(music(), "sound/Win.mp3");
    Scene().EnterState(kStateDefeat);
    EXPECT_EQ(music(), "sound/GameOver.mp3");
    EXPECT_EQ(Scene().stateTimer, 300);
}

TEST_F(DayCycle, GameStartHidesTheUnitsOfBusyColours) {
    Player().orders[1].daysLeft = 2;
    Player().orders[3].daysLeft = 1;
    Scene().EnterState(kStateGameStart);
    for (size_t k = 0; k < 4; ++k)
        for (CGameChar* c : Screen().units[k]) {
            const bool busy = k == 1 || k == 3;
            EXPECT_EQ(c->mode, busy ? kCharHidden : kCharAppear);
            EXPECT_EQ(c->visible, !busy);
            if (!busy) {
                EXPECT_LE(c->m_x, 143);
                EXPECT_GE(c->m_y, 40);
                EXPECT_LE(c->m_y, 52);
            }
        }
}

TEST_F(DayCycle, EndOfDayAndNewDayActOnce) {
    ToCommandMenu();
    Choose(6);
    ASSERT_EQ(Scene().state, kStateEndOfDay);
    // Choose() released the key in a second frame, in which the one-frame timer ran out.
    const int32_t pressure = Scene().raidPressure;
    ASSERT_GE(pressure, 10);
    ASSERT_LE(pressure, 40);  // from 0: a quiet night
    ASSERT_EQ(Scene().pendingState, kStateNewDay);
    int frames = 0;
    while (Scene().state == kStateEndOfDay) {
        Step();
        ++frames;
        ASSERT_EQ(Scene().raidPressure, pressure);
        ASSERT_LT(frames, 100);
    }
    EXPECT_EQ(frames, 29);  // the fade closes over the 29 updates after the roll
    ASSERT_EQ(Scene().state, kStateNewDay);
    EXPECT_EQ(Player().day, 2);
    EXPECT_EQ(Scene().stateTimer, 14);  // 15, already counted down once in the entering update
    Steps(13);
    EXPECT_EQ(Scene().state, kStateNewDay);
    Step();
    EXPECT_EQ(Scene().state, kStateCommandMenu);
    EXPECT_EQ(Player().day, 2);
    EXPECT_EQ(Screen().commandMenu->selection, -1);
    Steps(40);
    EXPECT_EQ(Player().day, 2);
    EXPECT_EQ(Scene().state, kStateCommandMenu);
}

TEST_F(DayCycle, EveryTwentiethDayEndsInARaid) {
    ToCommandMenu();
    Player().day = 19;
    Choose(6);
    EXPECT_EQ(Scene().pendingState, kStateNewDay);
    ASSERT_GE(StepUntil([&] { return Scene().state == kStateCommandMenu && Player().day == 20; }), 0);
    Scene().raidPressure = 0;
    Choose(6);
    EXPECT_EQ(Scene().pendingState, kStateRaidAlert);
    EXPECT_EQ(Scene().raidPressure, 0);
}

TEST_F(DayCycle, PressureReachingAHundredBringsARaid) {
    ToCommandMenu();
    Scene().raidPressure = 90;
    Choose(6);
    EXPECT_EQ(Scene().pendingState, kStateRaidAlert);
    EXPECT_EQ(Scene().raidPressure, 0);
    // The raid is entered at the fade's turning point and the battle screen shows.
    ASSERT_GE(StepUntil([&] { return Scene().state == kStateRaidAlert; }), 0);
    EXPECT_EQ(Scene().stateTimer, 29);
    EXPECT_EQ(Screen().messages[0].m_page, 0u);
}

TEST_F(DayCycle, OrdersCompleteAfterTheirDays) {
    Player().orders[0] = {1, kOrderHunt, 30};
    Player().orders[1] = {4, kOrderRaiseFunds, 50};
    Player().orders[3] = {1, 77, 5};  // an unknown kind does nothing
    Scene().RunNewDay();
    EXPECT_EQ(Player().day, 2);
    EXPECT_EQ(Player().food, 130);
    EXPECT_EQ(Player().orders[0].daysLeft, 0);
    EXPECT_EQ(Scene().stateTimer, 15);
    for (CGameChar* c : Screen().units[0]) {
        EXPECT_EQ(c->mode, kCharComeUp);
        EXPECT_EQ(c->m_x, 72);
        EXPECT_EQ(c->m_y, 40);
    }
    for (CGameChar* c : Screen().units[1]) EXPECT_NE(c->mode, kCharComeUp);
    Scene().RunNewDay();
    Scene().RunNewDay();
    EXPECT_EQ(Player().money, 100);
    EXPECT_EQ(Player().food, 130);
    Scene().RunNewDay();
    EXPECT_EQ(Player().money, 150);
    EXPECT_EQ(Player().food, 130);
    EXPECT_EQ(Player().orders[0].daysLeft, -3);  // idle colours keep counting down
    EXPECT_EQ(Player().orders[0].kind, kOrderHunt);
    EXPECT_EQ(Player().orders[0].amount, 30);
    EXPECT_EQ(Player().traps, 0);
    EXPECT_EQ(Player().day, 5);
}

TEST_F(DayCycle, TwoOrdersOnTheSameDay) {
    SetUnitCount(0, 0);
    Player().orders[0] = {1, kOrderBreed, 2};
    Player().orders[2] = {1, kOrderLevelUp, 1};
    Player().orders[3] = {1, kOrderSetTrap, 1};
    CGameChar& hurt = Unit(2, 0);
    const UnitStats before = *hurt.stats;
    hurt.stats->hp = 5;
    Scene().RunNewDay();

    ASSERT_EQ(Screen().units[0].size(), 2u);
    for (CGameChar* c : Screen().units[0]) {
        // Grown twice at level 1: 90 + 2 x (80..120 % of 80 x 4).
        EXPECT_EQ(c->stats->level, 1);
        EXPECT_GE(c->stats->maxHp, 90 + 2 * 256);
        EXPECT_LE(c->stats->maxHp, 90 + 2 * 384);
        EXPECT_EQ(c->stats->hp, c->stats->maxHp);
        EXPECT_GE(c->stats->attack, 150 + 2 * 208);
        EXPECT_LE(c->stats->attack, 150 + 2 * 312);
        EXPECT_EQ(c->mode, kCharComeUp);
        EXPECT_EQ(c->colour, 0);
        EXPECT_EQ(c->m_graphics.size(), 4u);
    }
    EXPECT_EQ(Player().unitLevel[2], 2);
    EXPECT_EQ(hurt.stats->level, 2);
    EXPECT_EQ(hurt.stats->hp, 5);  // a level-up does not heal
    EXPECT_EQ(hurt.stats->maxHp, before.maxHp + 45);
    EXPECT_EQ(hurt.stats->attack, before.attack + 120);
    EXPECT_EQ(hurt.stats->defence, before.defence + 30);
    EXPECT_EQ(Player().traps, 1);
    Scene().Update();
    EXPECT_EQ(Value(1), 2);  // the head count follows the list
}

TEST_F(DayCycle, BreedingMakesEachUnitWhole) {
    Player().orders[1] = {1, kOrderBreed, 3};
    Player().unitLevel[1] = 4;
    Scene().RunNewDay();
    auto& blue = Screen().units[1];
    ASSERT_EQ(blue.size(), 6u);
    size_t i = 0;
    for (CGameChar* c : blue) {
        EXPECT_EQ(c->mode, kCharComeUp);
        if (i++ < 3) continue;
        EXPECT_EQ(c->stats->level, 4);
        EXPECT_GE(c->stats->maxHp, 75 + 2 * (80 * 50 * 7 / 100));
        EXPECT_LE(c->stats->maxHp, 75 + 2 * (120 * 50 * 7 / 100));
        EXPECT_EQ(c->colour, 1);
    }
}

TEST_F(DayCycle, RecordsSaturateInsteadOfWrapping) {
    Player().food = INT32_MAX - 5;
    Player().orders[0] = {1, kOrderHunt, 30};
    Player().orders[1] = {INT32_MIN, kOrderHunt, 30};
    Player().day = INT32_MAX;
    Scene().RunNewDay();
    EXPECT_EQ(Player().food, INT32_MAX);
    EXPECT_EQ(Player().orders[1].daysLeft, INT32_MIN);
    EXPECT_EQ(Player().day, INT32_MAX);

    Player().unitLevel[2] = INT32_MAX;
    Player().orders[2] = {1, kOrderLevelUp, 1};
    Unit(2, 0).stats->maxHp = INT32_MAX - 1;
    Scene().RunNewDay();
    EXPECT_EQ(Player().unitLevel[2], INT32_MAX);
    EXPECT_EQ(Unit(2, 0).stats->maxHp, INT32_MAX);

    ToCommandMenu();
    Scene().stateTimer = INT32_MIN;
    Step();
    EXPECT_EQ(Scene().stateTimer, INT32_MIN);
}

}  // namespace
}  // namespace rulestest
