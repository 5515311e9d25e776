// Game-scene states: the entry action and layer switches of each state, and the
// per-frame update with each state's logic.
#include <algorithm>
#include <initializer_list>

#include "game/rules/scene/GameScene.h"
#include "game/rules/scene/RuleMath.h"
#include "game/rules/state/GameData.h"
#include "game/world/DamageEffectPool.h"
#include "game/world/GameChar.h"
#include "game/world/GameScreen.h"
#include "game/world/GridMenu.h"
#include "resources/SoundStore.h"

namespace {

void ShowLayers(GameScreen& screen, std::initializer_list<int> layers) {
    for (int layer : layers) screen.layerVisible[static_cast<size_t>(layer)] = true;
}

void ShowBattleLayers(GameScreen& screen, int messageLayer) {
    ShowLayers(screen,
               {kLayerGround, kLayerFrames, kLayerUnitStatus, kLayerResourceStatus, kLayerLines, kLayerRaider});
    if (messageLayer >= 0) screen.layerVisible[static_cast<size_t>(messageLayer)] = true;
}

// Battle music by the day that is ending.
int BattleMusic(int32_t day) {
    if (day % 100 == 0) return kMusicLastBattle;
    if (day % 40 == 0) return kMusicBossBattle;
    if (day < 50) return kMusicBattle1;
    return kMusicBattle2;
}

bool MessageRead(const CTextMessageMng& message) { return message.m_page >= message.m_pageCount; }

}  // namespace

void CGameScene::EnterState(int newState) {
    if (newState < kStateLeave || newState > kStateAftermath) newState = kStateLeave;
    GameScreen& s = *screen;
    PlayerRecord& player = gameData->player;
    SoundStore* sound = SoundStore::Instance();

    std::fill(s.layerVisible.begin(), s.layerVisible.end(), false);
    const std::initializer_list<int> mapLayers = {kLayerGround, kLayerFrames, kLayerUnitStatus, kLayerResourceStatus,
                                                  kLayerUnits};

    // `state` still holds the previous state while the entry action runs.
    switch (newState) {
        case kStateLeave: break;
        case kStateGameStart:
            for (size_t k = 0; k < 4; ++k) {
                const int mode = player.orders[k].daysLeft <= 0 ? kCharAppear : kCharHidden;
                for (CGameChar* unit : s.units[k]) unit->SetMode(mode);
            }
            break;
        case kStateCommandMenu:
            ShowLayers(s, mapLayers);
            s.layerVisible[kLayerCommandMenu] = true;
            s.commandMenu->selection = -1;
            sound->PlayMusic(s.musicNames[player.day < 40 ? kMusicNormal1 : kMusicNormal1_2].c_str());
            break;
        case kStateChooseUnit:
            ShowLayers(s, mapLayers);
            s.layerVisible[kLayerUnitMenu] = true;
            s.unitMenu->selection = -1;
            break;
        case kStateEndOfDay:
            ShowLayers(s, mapLayers);
            // Resting comes straight from the command menu; an order lets its units walk off.
            stateTimer = state == kStateCommandMenu ? 1 : 90;
            break;
        case kStateNewDay:
            ShowLayers(s, mapLayers);
            RunNewDay();
            break;
        case kStateRaidAlert:
            ShowBattleLayers(s, kLayerMessage0);
            sound->PlayMusic(s.musicNames[static_cast<size_t>(BattleMusic(player.day))].c_str());
            SetUpRaid();
            s.messages[0].m_page = 0;
            stateTimer = 30;
            break;
        case kStateLineUp:
            ShowBattleLayers(s, kLayerMessage0);
            FormLines();
            stateTimer = 20;
            break;
        case kStateExchange: ShowBattleLayers(s, kLayerMessage0); break;
        case kStateAfterExchange:
            ShowBattleLayers(s, kLayerMessage0);
            stateTimer = 20;
            break;
        case kStateBattleOver:
            ShowBattleLayers(s, -1);
            stateTimer = 0;
            break;
        case kStateVictory:
            ShowBattleLayers(s, kLayerMessage1);
            s.messages[1].m_page = 0;
            sound->PlayMusic(s.musicNames[kMusicWin].c_str());
            break;
        case kStateDefeat:
            ShowBattleLayers(s, kLayerMessage2);
            s.messages[2].m_page = 0;
            sound->PlayMusic(s.musicNames[kMusicGameOver].c_str());
            stateTimer = 300;
            break;
        case kStateAftermath: CleanUpAfterBattle(); break;
        default: break;
    }
    state = newState;
    pendingState = newState;
}

void CGameScene::Update() {
    CScene::Update();

    GameScreen& s = *screen;
    for (CGraObj& o : s.mapChips) o.Update();
    for (CGraObj& o : s.windowFrames) o.Update();
    for (CGraObj& o : s.icons) o.Update();
    for (CNumObj& o : s.numbers) o.Update();
    for (CGraObj& o : s.commandWords) o.Update();
    s.groundLayer->Update();
    s.holeLayer->Update();
    s.frameLayer->Update();
    for (CObjSet& o : s.unitStatus) o.Update();
    for (CObjSet& o : s.resourceStatus) o.Update();
    for (CObjSet& o : s.unitPanels) o.Update();
    for (auto& list : s.units)
        for (CGameChar* unit : list) unit->Update();
    s.raider->Update();
    s.commandMenu->Update();
    s.unitMenu->Update();
    for (CTextMessageMng& m : s.messages) m.Update();

    const PlayerRecord& player = gameData->player;
    for (size_t k = 0; k < 4; ++k) {
        s.numbers[2 * k].SetValue(player.unitLevel[k]);
        s.numbers[2 * k + 1].SetValue(rules::CountOf(s.units[k].size()));
    }
    s.numbers[8].SetValue(player.food);
    s.numbers[9].SetValue(player.money);
    s.numbers[10].SetValue(player.traps);
    s.numbers[11].SetValue(player.day);

    effectPool->UpdateDamageNumbers();

    stateTimer = rules::SatSub(stateTimer, 1);

    switch (state) {
        case kStateGameStart: RequestState(kStateCommandMenu, 1); break;
        case kStateCommandMenu: {
            commandChoice = s.commandMenu->selection;
            if (commandChoice == 0) {
                s.commandMenu->selection = -1;  // a cancel does nothing here
            } else if (commandChoice >= 1 && commandChoice <= 5) {
                EnterState(kStateChooseUnit);
                PrepareOffer(commandChoice);
            } else if (commandChoice == 6) {
                EnterState(kStateEndOfDay);
            }
            break;
        }
        case kStateChooseUnit: {
            const int32_t choice = s.unitMenu->selection;
            if (choice == 0) {
                EnterState(kStateCommandMenu);
            } else if (choice >= 1 && choice <= 4) {
                if (!TryOrder(choice - 1)) s.unitMenu->selection = -1;
            }
            break;
        }
        case kStateEndOfDay:
            if (stateTimer == 0) RollRaid();
            break;
        case kStateNewDay:
            if (stateTimer == 0) EnterState(kStateCommandMenu);
            break;
        case kStateRaidAlert:
            if (stateTimer <= 0 && MessageRead(s.messages[0])) {
                if (s.lines[0].empty()) {
                    s.raider->SetMode(kCharWalkLeft);
                    EnterState(kStateDefeat);  // nobody can defend
                } else {
                    EnterState(kStateLineUp);
                }
            }
            break;
        case kStateLineUp:
            if (stateTimer <= 0) EnterState(kStateExchange);
            break;
        case kStateExchange: RunExchange(); break;
        case kStateAfterExchange:
            if (stateTimer <= 0) EnterState(kStateLineUp);
            break;
        case kStateBattleOver:
            if (stateTimer <= 0) EnterState(s.raiderBeaten ? kStateVictory : kStateDefeat);
            break;
        case kStateVictory:
            if (MessageRead(s.messages[1])) RequestState(kStateAftermath, 1);
            break;
        case kStateDefeat:
            if (stateTimer <= 0) RequestState(kStateLeave, 1);
            break;
        case kStateAftermath: EnterState(kStateNewDay); break;
        default: break;
    }
}
