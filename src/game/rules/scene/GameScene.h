// The game scene: one game from construction to the defeat that returns to the title.
#pragma once

#include <array>
#include <cstdint>

#include "app/scene/Scene.h"

class GameScreen;
class DamageEffectPool;

enum GameState : int32_t {
    kStateLeave = -1,
    kStateGameStart = 0,
    kStateCommandMenu = 1,
    kStateChooseUnit = 2,
    kStateEndOfDay = 3,
    kStateNewDay = 4,
    kStateRaidAlert = 5,
    kStateLineUp = 6,
    kStateExchange = 7,
    kStateAfterExchange = 8,
    kStateBattleOver = 9,
    kStateVictory = 10,
    kStateDefeat = 11,
    kStateAftermath = 12,
};

// What colour `colour`'s order for command `selection` (1 to 5) would cost, bring
// (amount and order kind) and make of the figure it grows (result), with
// `unitCount` units of that colour. A cost that does not fit an int32 is
// kCostOutOfReach: never affordable. Every real cost is non-negative.
inline constexpr int32_t kCostOutOfReach = -1;
struct OrderOffer {
    int32_t cost = 0, amount = 0, kind = 0, result = 0;
};
OrderOffer OfferFor(const GameData& data, int selection, int colour, int32_t unitCount);

class CGameScene : public CScene {
public:
    CGameScene();
    // A game scene of the screen and damage numbers given (a kept state put back); it owns them.
    CGameScene(GameScreen* screen, DamageEffectPool* pool);
    ~CGameScene() override;

    void EnterState(int newState) override;
    void Begin(KeyConfig* keys, GameData* data) override;
    void Draw() override;
    void Update() override;
    int NextScene() override;
    void SetKeyConfig(KeyConfig* keys) override;

    // Commands.
    void PrepareOffer(int selection);
    bool TryOrder(int colour);
    // New day.
    void RunNewDay();
    // Raids and battle.
    void RollRaid();
    void SetUpRaid();
    void FormLines();
    void RunExchange();
    void CleanUpAfterBattle();

    GameScreen* screen = nullptr;  // owned
    int32_t commandChoice = 0;
    std::array<int32_t, 4> rowCost{};
    std::array<int32_t, 4> rowAmount{};
    std::array<int32_t, 4> rowOrderKind{};
    int32_t stateTimer = 0;
    int32_t raidPressure = 0;
    DamageEffectPool* effectPool = nullptr;  // owned
};
