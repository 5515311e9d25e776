// Drawing of the game scene: layers, damage numbers, then the fade.
#include "game/rules/scene/GameSceneDraw.h"

#include "game/rules/scene/GameScene.h"
#include "game/world/DamageEffectPool.h"
#include "game/world/GameChar.h"
#include "game/world/GameScreen.h"
#include "game/world/GridMenu.h"
#include "objects/DamageEffect.h"

void DrawScreen(GameScreen& s) {
    const auto& on = s.layerVisible;
    if (on[kLayerGround]) {
        s.groundLayer->Draw();
        s.holeLayer->Draw();
    }
    if (on[kLayerFrames]) s.frameLayer->Draw();
    if (on[kLayerUnitStatus]) {
        for (auto& set : s.unitStatus) set.Draw();
    }
    if (on[kLayerResourceStatus]) {
        for (auto& set : s.resourceStatus) set.Draw();
    }
    if (on[kLayerCommandMenu]) s.commandMenu->Draw();
    if (on[kLayerUnitMenu]) s.unitMenu->Draw();
    if (on[kLayerUnits]) {
        for (auto& list : s.units) {
            for (CGameChar* c : list) c->Draw();
        }
    }
    if (on[kLayerMessage0]) s.messages[0].Draw();
    if (on[kLayerMessage1]) s.messages[1].Draw();
    if (on[kLayerMessage2]) s.messages[2].Draw();
    if (on[kLayerLines]) {
        // The front fighter (first in the line) is drawn last, on top.
        for (auto& line : s.lines) {
            for (auto it = line.rbegin(); it != line.rend(); ++it) (*it)->Draw();
        }
    }
    if (on[kLayerRaider]) s.raider->Draw();
}

void DrawEffects(DamageEffectPool& pool) {
    for (CDamageEffect* e : pool.running) e->Draw();
}

void CGameScene::Draw() {
    DrawScreen(*screen);
    DrawEffects(*effectPool);
    DrawFade(fade);
}
