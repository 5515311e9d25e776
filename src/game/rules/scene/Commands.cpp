// The six commands: what each colour's order would cost and yield, and placing an order.
#include "game/rules/scene/GameScene.h"
#include "game/rules/scene/RuleMath.h"
#include "game/rules/state/GameData.h"
#include "game/world/GameChar.h"
#include "game/world/GameScreen.h"
#include "objects/graphics/Truncate.h"

namespace {

constexpr int32_t kOrderDays[5] = {4, 3, 2, 3, 1};  // selections 1 to 5

constexpr int kIconFood = 0, kIconMoney = 1, kIconTraps = 2, kIconLevel = 4, kIconSoldier = 13;

// trunc(0.5 x a x b x c) of a non-negative product; kCostOutOfReach when it does not fit.
int32_t HalfProductCost(int32_t a, int32_t b, int32_t c) {
    int64_t ab = 0, abc = 0;
    if (!rules::MulFits(a, b, ab) || !rules::MulFits(ab, c, abc)) return kCostOutOfReach;
    if (abc < 0) return 0;  // never happens with the game's tables and levels
    if (abc > int64_t{rules::kInt32Max} * 2 + 1) return kCostOutOfReach;
    return static_cast<int32_t>(0.5 * static_cast<double>(abc));
}

// 20 doubled traps + 1 times.
int32_t TrapCost(int32_t traps) {
    int64_t cost = 20;
    for (int64_t i = 0; i <= traps; ++i) {
        cost *= 2;
        if (cost > rules::kInt32Max) return kCostOutOfReach;
    }
    return static_cast<int32_t>(cost);
}

}  // namespace

OrderOffer OfferFor(const GameData& data, int selection, int colour, int32_t unitCount) {
    const PlayerRecord& player = data.player;
    const size_t k = static_cast<size_t>(colour);
    const int32_t n = unitCount;
    const int32_t level = player.unitLevel[k];
    const UnitRecord& kind = data.unitKinds[k];
    switch (selection) {
        case 1: {  // breed
            const int32_t amount = TruncToInt(0.5 * n + 0.9) + 1;
            return {HalfProductCost(level, kind.breedCost, n), amount, kOrderBreed, rules::SatAdd(n, amount)};
        }
        case 2: {  // hunt
            const int32_t amount = rules::SatMul(kind.huntYield, n);
            return {0, amount, kOrderHunt, rules::SatAdd(player.food, amount)};
        }
        case 3: {  // raise funds
            const int64_t square = int64_t{n} * n;
            const int32_t amount = rules::SatMul(kind.fundsYield, n);
            return {square > rules::kInt32Max ? kCostOutOfReach : static_cast<int32_t>(square), amount,
                    kOrderRaiseFunds, rules::SatAdd(player.money, amount)};
        }
        case 4:  // level up
            return {HalfProductCost(kind.levelUpCost, n, level), 1, kOrderLevelUp, rules::SatAdd(level, 1)};
        default:  // set a trap
            return {TrapCost(player.traps), 1, kOrderSetTrap, rules::SatAdd(player.traps, 1)};
    }
}

void CGameScene::PrepareOffer(int selection) {
    if (selection < 1 || selection > 5) return;
    GameScreen& s = *screen;
    // By selection 1 to 5: the panel's cost and result icons and the status number it shows beside them.
    constexpr int kCostIcons[5] = {kIconFood, kIconFood, kIconFood, kIconMoney, kIconMoney};
    constexpr int kResultIcons[5] = {kIconSoldier, kIconFood, kIconMoney, kIconLevel, kIconTraps};
    const size_t row = static_cast<size_t>(selection - 1);

    for (size_t k = 0; k < 4; ++k) {
        const OrderOffer offer =
            OfferFor(*gameData, selection, static_cast<int>(k), rules::CountOf(s.units[k].size()));
        const size_t currentNumbers[5] = {2 * k + 1, 8, 9, 2 * k, 10};
        CObjSet& panel = s.unitPanels[k];
        panel.SetChild(&s.icons[static_cast<size_t>(kCostIcons[row])], 1);
        panel.SetChild(&s.icons[static_cast<size_t>(kResultIcons[row])], 3);
        panel.SetChild(&s.numbers[currentNumbers[row]], 4);
        rowCost[k] = offer.cost;
        rowAmount[k] = offer.amount;
        rowOrderKind[k] = offer.kind;
        // A cost out of reach shows as the largest figure the number can show.
        s.numbers[12 + 2 * k].SetValue(offer.cost == kCostOutOfReach ? rules::kInt32Max : offer.cost);
        s.numbers[13 + 2 * k].SetValue(offer.result);
    }
}

bool CGameScene::TryOrder(int colour) {
    if (colour < 0 || colour > 3 || commandChoice < 1 || commandChoice > 5) return false;
    const size_t k = static_cast<size_t>(colour);
    PlayerRecord& player = gameData->player;
    int32_t& resource = commandChoice <= 3 ? player.food : player.money;
    const int32_t cost = rowCost[k];

    if (cost == kCostOutOfReach || resource < cost) return false;
    if (player.orders[k].daysLeft >= 1) return false;  // still busy

    EnterState(kStateEndOfDay);
    resource -= cost;
    for (CGameChar* unit : screen->units[k]) unit->SetMode(kCharGoDown);
    UnitOrder& order = player.orders[k];
    order.daysLeft = kOrderDays[commandChoice - 1];
    order.kind = rowOrderKind[k];
    order.amount = rowAmount[k];
    return true;
}
