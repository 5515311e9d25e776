// The six commands: what each colour's order would cost and yield, and placing an order.
#include "game/rules/scene/GameScene.h"
#include "game/rules/scene/RuleMath.h"
#include "game/rules/state/GameData.h"
#include "game/world/GameChar.h"
#include "game/world/GameScreen.h"
#include "objects/graphics/Truncate.h"

namespace {

// rowCost entry of a cost that does not fit an int32: never affordable. Every real
// cost is non-negative.
constexpr int32_t kCostOutOfReach = -1;

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

void CGameScene::PrepareOffer(int selection) {
    if (selection < 1 || selection > 5) return;
    GameScreen& s = *screen;
    const PlayerRecord& player = gameData->player;

    for (size_t k = 0; k < 4; ++k) {
        const int32_t n = rules::CountOf(s.units[k].size());
        const int32_t level = player.unitLevel[k];
        const UnitRecord& kind = gameData->unitKinds[k];
        CObjSet& panel = s.unitPanels[k];

        int32_t cost = 0, amount = 0, orderKind = 0, result = 0;
        int costIcon = kIconFood, resultIcon = kIconFood;
        CBaseObj* current = nullptr;
        switch (selection) {
            case 1:  // breed
                cost = HalfProductCost(level, kind.breedCost, n);
                amount = TruncToInt(0.5 * n + 0.9) + 1;
                orderKind = kOrderBreed;
                resultIcon = kIconSoldier;
                current = &s.numbers[2 * k + 1];
                result = rules::SatAdd(n, amount);
                break;
            case 2:  // hunt
                cost = 0;
                amount = rules::SatMul(kind.huntYield, n);
                orderKind = kOrderHunt;
                current = &s.numbers[8];
                result = rules::SatAdd(player.food, amount);
                break;
            case 3: {  // raise funds
                int64_t square = int64_t{n} * n;
                cost = square > rules::kInt32Max ? kCostOutOfReach : static_cast<int32_t>(square);
                amount = rules::SatMul(kind.fundsYield, n);
                orderKind = kOrderRaiseFunds;
                resultIcon = kIconMoney;
                current = &s.numbers[9];
                result = rules::SatAdd(player.money, amount);
                break;
            }
            case 4:  // level up
                cost = HalfProductCost(kind.levelUpCost, n, level);
                amount = 1;
                orderKind = kOrderLevelUp;
                costIcon = kIconMoney;
                resultIcon = kIconLevel;
                current = &s.numbers[2 * k];
                result = rules::SatAdd(level, 1);
                break;
            default:  // set a trap
                cost = TrapCost(player.traps);
                amount = 1;
                orderKind = kOrderSetTrap;
                costIcon = kIconMoney;
                resultIcon = kIconTraps;
                current = &s.numbers[10];
                result = rules::SatAdd(player.traps, 1);
                break;
        }

        panel.SetChild(&s.icons[static_cast<size_t>(costIcon)], 1);
        panel.SetChild(&s.icons[static_cast<size_t>(resultIcon)], 3);
        panel.SetChild(current, 4);
        rowCost[k] = cost;
        rowAmount[k] = amount;
        rowOrderKind[k] = orderKind;
        // A cost out of reach shows as the largest figure the number can show.
        s.numbers[12 + 2 * k].SetValue(cost == kCostOutOfReach ? rules::kInt32Max : cost);
        s.numbers[13 + 2 * k].SetValue(result);
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
