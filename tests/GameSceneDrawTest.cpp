// Drawing of the game scene: layer switches, the order inside the defence lines,
// hidden characters.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "CannotRun.h"
#include "GameTestSupport.h"
#include "game/rules/scene/GameScene.h"
#include "game/rules/scene/GameSceneDraw.h"
#include "game/rules/state/GameData.h"
#include "game/world/DamageEffectPool.h"
#include "game/world/GameChar.h"
#include "game/world/GameScreen.h"
#include "media/Media.h"
#include "media/headless/HeadlessControls.h"
#include "objects/DamageEffect.h"

namespace {

uint32_t PixelAt(int x, int y) {
    const std::vector<uint32_t> px = media::headless::BackScreenPixels();
    return px.at(static_cast<size_t>(y) * 160 + static_cast<size_t>(x));
}

bool AllBlack() {
    for (uint32_t p : media::headless::BackScreenPixels()) {
        if ((p & 0xFFFFFF) != 0) return false;
    }
    return true;
}

// A character showing a 160 x 4 box in one colour.
void MakeBoxChar(CGameChar& c, int r, int g, int b, int y) {
    c.AddBox(4);
    c.m_bright[0].MoveTo(0, r);
    c.m_bright[1].MoveTo(0, g);
    c.m_bright[2].MoveTo(0, b);
    c.SetPos(0, y);
    c.SetMode(kCharStand);
}

class GameSceneDrawTest : public gametest::SceneFixture {};

TEST_F(GameSceneDrawTest, AllLayersOffDrawsNothing) {
    CGameChar a;
    MakeBoxChar(a, 255, 255, 255, 10);
    CGameScene scene;
    scene.Begin(&keys, &data);
    scene.screen->lines[0].push_back(&a);
    scene.screen->raider->AddBox(10);
    scene.screen->raider->SetMode(kCharStand);
    scene.screen->layerVisible.fill(false);
    scene.fade->kind = 0;
    scene.fade->counter = 0;
    scene.fade->closing = false;
    ClearScreen();
    scene.Draw();
    EXPECT_TRUE(AllBlack());

    // The raider's layer alone shows the raider.
    scene.screen->layerVisible[kLayerRaider] = true;
    ClearScreen();
    scene.Draw();
    EXPECT_FALSE(AllBlack());
    EXPECT_NE(PixelAt(5, 5) & 0xFFFFFF, 0u);
    EXPECT_EQ(PixelAt(5, 10) & 0xFFFFFF, 0u);
}

TEST_F(GameSceneDrawTest, TheFrontFighterIsDrawnOnTopAndHiddenOnesNot) {
    CGameChar first, second, third, hidden;
    MakeBoxChar(first, 255, 0, 0, 50);
    MakeBoxChar(second, 0, 255, 0, 50);
    MakeBoxChar(third, 0, 0, 255, 50);
    MakeBoxChar(hidden, 255, 255, 255, 60);
    hidden.SetMode(kCharHidden);

    CGameScene scene;
    scene.Begin(&keys, &data);
    GameScreen& s = *scene.screen;
    s.layerVisible.fill(false);
    s.layerVisible[kLayerLines] = true;
    s.lines[1] = {&first, &second, &third};
    s.lines[2] = {&hidden};
    ClearScreen();
    DrawScreen(s);
    const uint32_t p = PixelAt(20, 51);
    EXPECT_GT((p >> 16) & 0xFF, 0x80u) << std::hex << p;  // red: the first of the line
    EXPECT_EQ(p & 0xFFFF, 0u) << std::hex << p;
    EXPECT_EQ(PixelAt(20, 61) & 0xFFFFFF, 0u);

    // The units layer draws list order: the last unit ends on top.
    s.layerVisible[kLayerLines] = false;
    s.layerVisible[kLayerUnits] = true;
    for (auto& list : s.units) {
        for (CGameChar* u : list) u->SetMode(kCharHidden);
    }
    ClearScreen();
    DrawScreen(s);
    EXPECT_TRUE(AllBlack());  // every unit hidden
    s.lines[1].clear();
    s.lines[2].clear();
}

}  // namespace

namespace {

// The two damage numbers of an exchange on line 0 stand 16 px apart at the same
// height. Drawn with the game's own digits, two three-digit numbers still read
// as two: between them a column neither draws on, inside each the digits'
// dark surrounds join, and every digit's light strokes stay apart from its
// neighbours'.
TEST(DamageNumbersOnScreen, TwoThreeDigitNumbersOfAnExchangeReadAsTwo) {
    if (!gametest::HaveAssets()) return testsupport::CannotRun("assets/ not built yet");
    gametest::WorkFolder folder(true);
    DamageEffectPool pool;
    pool.ShowDamage(127, 72, 50);  // to the front fighter of line 0
    pool.ShowDamage(126, 88, 50);  // to the raider
    ClearScreen();
    for (CDamageEffect* e : pool.running) e->Draw();
    const std::vector<uint32_t> px = media::headless::BackScreenPixels();
    std::vector<bool> inked(160, false), light(160, false);
    for (int y = 50; y < 58; ++y)
        for (int x = 0; x < 160; ++x) {
            const uint32_t c = px[static_cast<size_t>(y) * 160 + static_cast<size_t>(x)] & 0xFFFFFF;
            inked[static_cast<size_t>(x)] = inked[static_cast<size_t>(x)] || c != 0;
            light[static_cast<size_t>(x)] =
                light[static_cast<size_t>(x)] || ((c >> 16) + ((c >> 8) & 0xFF) + (c & 0xFF)) > 384;
        }
    // The rows are centred on 72 and 88: cells at 65, 70, 75 and 81, 86, 91.
    EXPECT_FALSE(inked[80]) << "the two numbers touch";
    for (int x = 65; x < 80; ++x)
        EXPECT_TRUE(inked[static_cast<size_t>(x)]) << "a gap inside the first number at " << x;
    for (int x = 81; x < 96; ++x)
        EXPECT_TRUE(inked[static_cast<size_t>(x)]) << "a gap inside the second number at " << x;
    int strokes = 0;
    for (int x = 1; x < 160; ++x) strokes += light[static_cast<size_t>(x)] && !light[static_cast<size_t>(x) - 1];
    EXPECT_EQ(strokes, 6) << "digits run together";
}

}  // namespace
