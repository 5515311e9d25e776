// The command menu, the unit menu and the six commands: offers, orders, refusals.
#include "RulesTestSupport.h"

namespace rulestest {
namespace {

class Commands : public RulesTest {
protected:
    void SetUp() override {
        RulesTest::SetUp();
        ToCommandMenu();
    }
    struct Offer {
        int32_t cost, amount, kind, costShown, resultShown;
    };
    Offer OfferOf(int k) {
        const size_t i = static_cast<size_t>(k);
        return {Scene().rowCost[i], Scene().rowAmount[i], Scene().rowOrderKind[i], Value(12 + 2 * i),
                Value(13 + 2 * i)};
    }
    CBaseObj* Entry(int k, size_t index) {
        auto& children = Screen().unitPanels[static_cast<size_t>(k)].m_children;
        return *std::next(children.begin(), static_cast<std::ptrdiff_t>(index));
    }
};

TEST_F(Commands, OffersFollowTheUnitCountsOfEachColour) {
    // Colours 0..3 hold 0, 3, 4, 5 units; each offer uses the colour's own kind values.
    SetUnitCount(0, 0);
    SetUnitCount(1, 3);
    SetUnitCount(2, 4);
    SetUnitCount(3, 5);
    Step();

    Choose(1);  // breed
    ASSERT_EQ(Scene().state, kStateChooseUnit);
    // cost trunc(0.5 x L x breedCost x n), amount trunc(0.5n + 0.9) + 1.
    EXPECT_EQ(OfferOf(0).cost, 0);
    EXPECT_EQ(OfferOf(0).amount, 1);
    EXPECT_EQ(OfferOf(1).cost, 30);  // 0.5 x 20 x 3
    EXPECT_EQ(OfferOf(1).amount, 3);
    EXPECT_EQ(OfferOf(2).cost, 80);  // 0.5 x 40 x 4
    EXPECT_EQ(OfferOf(2).amount, 3);
    EXPECT_EQ(OfferOf(3).cost, 75);  // 0.5 x 30 x 5
    EXPECT_EQ(OfferOf(3).amount, 4);
    EXPECT_EQ(OfferOf(3).kind, kOrderBreed);
    EXPECT_EQ(OfferOf(3).costShown, 75);
    EXPECT_EQ(OfferOf(3).resultShown, 9);  // n + amount
    EXPECT_EQ(Entry(3, 1), &Screen().icons[0]);
    EXPECT_EQ(Entry(3, 3), &Screen().icons[13]);
    EXPECT_EQ(Entry(3, 4), &Screen().numbers[7]);
    Press(kKeyX);
    ASSERT_EQ(Scene().state, kStateCommandMenu);

    Choose(2);  // hunt: free, huntYield x n food
    EXPECT_EQ(OfferOf(0).cost, 0);
    EXPECT_EQ(OfferOf(0).amount, 0);
    EXPECT_EQ(OfferOf(1).amount, 24);
    EXPECT_EQ(OfferOf(2).amount, 20);
    EXPECT_EQ(OfferOf(3).amount, 100);
    EXPECT_EQ(OfferOf(3).resultShown, 200);  // food + amount
    EXPECT_EQ(OfferOf(3).kind, kOrderHunt);
    EXPECT_EQ(Entry(2, 4), &Screen().numbers[8]);
    Press(kKeyX);

    Choose(3);  // raise funds: n x n food, fundsYield x n money
    EXPECT_EQ(OfferOf(0).cost, 0);
    EXPECT_EQ(OfferOf(0).amount, 0);
    EXPECT_EQ(OfferOf(1).cost, 9);
    EXPECT_EQ(OfferOf(1).amount, 30);
    EXPECT_EQ(OfferOf(2).cost, 16);
    EXPECT_EQ(OfferOf(3).cost, 25);
    EXPECT_EQ(OfferOf(3).amount, 25);
    EXPECT_EQ(OfferOf(3).kind, kOrderRaiseFunds);
    EXPECT_EQ(Entry(1, 1), &Screen().icons[0]);
    EXPECT_EQ(Entry(1, 3), &Screen().icons[1]);
    Press(kKeyX);

    Choose(4);  // level up: trunc(0.5 x levelUpCost x n x L) money
    EXPECT_EQ(OfferOf(0).cost, 0);
    EXPECT_EQ(OfferOf(0).amount, 1);
    EXPECT_EQ(OfferOf(1).cost, 52);  // 0.5 x 35 x 3 = 52.5
    EXPECT_EQ(OfferOf(2).cost, 100);
    EXPECT_EQ(OfferOf(3).cost, 62);  // 62.5
    EXPECT_EQ(OfferOf(3).resultShown, 2);
    EXPECT_EQ(OfferOf(3).kind, kOrderLevelUp);
    EXPECT_EQ(Entry(0, 1), &Screen().icons[1]);
    EXPECT_EQ(Entry(0, 3), &Screen().icons[4]);
    EXPECT_EQ(Entry(0, 4), &Screen().numbers[0]);
    Press(kKeyX);

    Choose(5);  // trap: 20 x 2^(traps + 1) for every colour
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(OfferOf(k).cost, 40);
        EXPECT_EQ(OfferOf(k).amount, 1);
        EXPECT_EQ(OfferOf(k).kind, kOrderSetTrap);
        EXPECT_EQ(OfferOf(k).resultShown, 1);
    }
    EXPECT_EQ(Entry(0, 3), &Screen().icons[2]);
    EXPECT_EQ(Entry(0, 4), &Screen().numbers[10]);
}

TEST_F(Commands, TheOfferIsFixedWhenTheCommandIsChosen) {
    Choose(3);
    const int32_t cost = Scene().rowCost[0];
    SetUnitCount(0, 5);
    Steps(3);
    EXPECT_EQ(Scene().rowCost[0], cost);
    EXPECT_EQ(Value(13), 100 + 24);  // the result figure was set when chosen
    EXPECT_EQ(Value(1), 5);          // the live current-value figure follows the list
}

TEST_F(Commands, ACostEqualToTheResourceIsAcceptedAndLeavesZero) {
    Player().food = 9;  // raising funds with 3 units costs 9 food
    Choose(3);
    ChooseColour(1);
    EXPECT_EQ(Scene().state, kStateEndOfDay);
    EXPECT_EQ(Player().food, 0);
    EXPECT_EQ(Player().orders[1].daysLeft, 2);
    EXPECT_EQ(Player().orders[1].kind, kOrderRaiseFunds);
    EXPECT_EQ(Player().orders[1].amount, 30);
    for (CGameChar* c : Screen().units[1]) EXPECT_EQ(c->mode, kCharGoDown);
}

TEST_F(Commands, RefusedOrdersChangeNothingAndReArmTheUnitMenu) {
    Player().orders[2] = {2, kOrderHunt, 15};
    Player().money = 36;  // level-up of Yellow with 3 units costs 37
    Choose(4);
    const PlayerRecord before = Player();
    std::vector<int> modes;
    for (auto& list : Screen().units)
        for (CGameChar* c : list) modes.push_back(c->mode);

    ChooseColour(0);  // cannot pay
    EXPECT_EQ(Scene().state, kStateChooseUnit);
    EXPECT_EQ(Screen().unitMenu->selection, -1);
    Player().money = 1000;
    ChooseColour(2);  // busy
    EXPECT_EQ(Scene().state, kStateChooseUnit);
    EXPECT_EQ(Screen().unitMenu->selection, -1);
    Player().money = before.money;

    EXPECT_EQ(Player().money, before.money);
    EXPECT_EQ(Player().food, before.food);
    EXPECT_EQ(Player().orders[0].daysLeft, before.orders[0].daysLeft);
    EXPECT_EQ(Player().orders[2].daysLeft, 2);
    EXPECT_EQ(Player().orders[2].amount, 15);
    std::vector<int> after;
    for (auto& list : Screen().units)
        for (CGameChar* c : list) after.push_back(c->mode);
    EXPECT_EQ(after, modes);

    Player().money = 100;
    ChooseColour(1);  // a colour that can pay is still accepted afterwards
    EXPECT_EQ(Scene().state, kStateEndOfDay);
    EXPECT_EQ(Player().money, 100 - 52);
}

TEST_F(Commands, HuntingIsAffordableWithNoFood) {
    Player().food = 0;
    Choose(2);
    ChooseColour(3);
    EXPECT_EQ(Scene().state, kStateEndOfDay);
    EXPECT_EQ(Player().orders[3].daysLeft, 3);
    EXPECT_EQ(Player().orders[3].amount, 60);
}

TEST_F(Commands, CancelInEitherMenu) {
    const PlayerRecord before = Player();
    // The command menu: choice 0 in the frame of the cancel, armed again at once.
    Step({kKeyX});
    EXPECT_EQ(Scene().state, kStateCommandMenu);
    EXPECT_EQ(Scene().commandChoice, 0);
    EXPECT_EQ(Screen().commandMenu->selection, -1);
    Step();
    EXPECT_EQ(Scene().commandChoice, -1);
    Step({kKeyDown});
    EXPECT_EQ(Screen().commandMenu->cursorRow, 1);  // still taking input

    // The unit menu: back to the command menu without any cost.
    Choose(1);
    ASSERT_EQ(Scene().state, kStateChooseUnit);
    Press(kKeyX);
    EXPECT_EQ(Scene().state, kStateCommandMenu);
    EXPECT_EQ(Screen().commandMenu->selection, -1);
    EXPECT_EQ(Player().food, before.food);
    EXPECT_EQ(Player().money, before.money);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(Player().orders[static_cast<size_t>(k)].daysLeft, 0);
    EXPECT_TRUE(Screen().layerVisible[kLayerCommandMenu]);
    EXPECT_FALSE(Screen().layerVisible[kLayerUnitMenu]);
}

TEST_F(Commands, RestGivesAOneFrameTimerAndAnOrderNinety) {
    GridMenu& m = *Screen().commandMenu;
    m.cursorColumn = 1;
    m.cursorRow = 2;
    Step({kKeyZ});
    EXPECT_EQ(Scene().commandChoice, 6);
    EXPECT_EQ(Scene().state, kStateEndOfDay);
    EXPECT_EQ(Scene().stateTimer, 1);
    EXPECT_EQ(Scene().pendingState, kStateEndOfDay);
    Step();  // the timer reaches 0: the raid roll
    EXPECT_NE(Scene().pendingState, kStateEndOfDay);
    EXPECT_GE(Scene().raidPressure, 10);
    EXPECT_LE(Scene().raidPressure, 40);

    // A new day later: an order gives 90 frames.
    ASSERT_GE(StepUntil([&] { return Scene().state == kStateCommandMenu; }), 0);
    Choose(2);
    Step({kKeyZ});  // colour 0 under the unit cursor
    ASSERT_EQ(Scene().state, kStateEndOfDay);
    EXPECT_EQ(Scene().stateTimer, 90);
    Steps(89);
    EXPECT_EQ(Scene().pendingState, kStateEndOfDay);
    Step();
    EXPECT_EQ(Scene().stateTimer, 0);
    EXPECT_NE(Scene().pendingState, kStateEndOfDay);
}

TEST_F(Commands, TrapCostsDoubleAndStopWhereTheyNoLongerFit) {
    Player().money = 2147483647;
    Player().traps = 2;
    Choose(5);
    EXPECT_EQ(Scene().rowCost[0], 160);
    Press(kKeyX);
    Player().traps = 25;
    Choose(5);
    EXPECT_EQ(Scene().rowCost[0], 1342177280);  // 20 x 2^26, the last that fits
    ChooseColour(0);
    EXPECT_EQ(Scene().state, kStateEndOfDay);
    EXPECT_EQ(Player().money, 2147483647 - 1342177280);
}

TEST_F(Commands, ACostBeyondThirtyTwoBitsIsNeverAffordable) {
    Player().money = 2147483647;
    Player().traps = 26;  // 20 x 2^27 does not fit
    Choose(5);
    EXPECT_EQ(Value(12), 9999);  // shown as the largest figure
    ChooseColour(0);
    EXPECT_EQ(Scene().state, kStateChooseUnit);
    EXPECT_EQ(Player().money, 2147483647);
    EXPECT_EQ(Player().orders[0].daysLeft, 0);
    Player().traps = 2000000000;
    Press(kKeyX);
    Choose(5);
    ChooseColour(1);
    EXPECT_EQ(Scene().state, kStateChooseUnit);
    EXPECT_EQ(Value(15), 9999);
}

}  // namespace
}  // namespace rulestest
