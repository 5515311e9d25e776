// The title scene: its build, its timeline frame by frame, and the start button.
#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <vector>

#include "GameTestSupport.h"
#include "game/rules/state/GameData.h"
#include "title/TitleObjects.h"
#include "title/TitleScene.h"

namespace {

using gametest::Frame;

bool AllBlack() {
    for (uint32_t p : media::headless::BackScreenPixels()) {
        if ((p & 0xFFFFFF) != 0) return false;
    }
    return true;
}

class TitleSceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        gametest::ClearKeys();
        keys = gametest::StandardKeys();
        data.ResetPlayer();
        data.FillKindTables();
    }
    void TearDown() override { gametest::ClearKeys(); }

    // One frame as the main loop runs it; returns the scene-change code.
    int RunFrame(CTitleScene& scene, std::initializer_list<int> keysDown) {
        Frame(keysDown);
        ClearScreen();
        scene.Update();
        scene.Draw();
        return scene.NextScene();
    }

    gametest::WorkFolder folder{true};
    KeyConfig keys;
    GameData data;
};

TEST_F(TitleSceneTest, BuildsTheLandscape) {
    CTitleScene scene;
    const TitleObjects& t = *scene.titleObjects;
    EXPECT_FALSE(scene.visible);

    ASSERT_EQ(t.walkerRow.m_children.size(), 12u);
    size_t i = 0;
    auto off = t.walkerRow.m_offsets.begin();
    for (CBaseObj* w : t.walkerRow.m_children) {
        EXPECT_EQ(w, &t.walkers[i % 4]);
        EXPECT_EQ(off->x, 16.0f * static_cast<float>(i));
        ++off;
        ++i;
    }
    EXPECT_EQ(t.walkerRow.m_wrapW, 192);
    EXPECT_FLOAT_EQ(t.walkerRow.m_scrollX, 0.3f);
    EXPECT_EQ(t.clouds.m_children.size(), 3u);
    EXPECT_EQ(std::next(t.clouds.m_offsets.begin())->y, 30.0f);
    EXPECT_EQ(t.mountainStrip.m_wrapW, 639);
    EXPECT_FLOAT_EQ(t.groundStrip.m_scrollX, -0.15f);
    EXPECT_EQ(t.groundStrip.m_x, -320);
    EXPECT_EQ(t.walkerRow.m_y, 82);
    for (const auto& w : t.walkers) {
        EXPECT_EQ(w.m_frameWait, 7u);
        EXPECT_EQ(w.m_graphics.size(), 1u);
    }
    EXPECT_EQ(t.pushKey.m_blinkMode, 1);
    EXPECT_FLOAT_EQ(t.pushKey.m_blinkLow, 50.0f);
    EXPECT_FLOAT_EQ(t.pushKey.m_blinkValue, 255.0f);
    EXPECT_EQ(t.bars.m_bright[1].value, 0.0);
    EXPECT_EQ(t.bars.m_bright[1].step, 0.0);
    EXPECT_EQ(t.sky.m_bright[0].value, 128.0);
    EXPECT_EQ(t.sky.m_bright[2].value, 255.0);
    ASSERT_EQ(t.updateList.size(), 14u);
    EXPECT_EQ(t.updateList.front(), &t.bars);
    EXPECT_EQ(*std::next(t.updateList.begin(), 8), &t.pushKey);
    EXPECT_EQ(t.updateList.back(), &t.sky);
}

TEST_F(TitleSceneTest, TimelineFromBeginToLeaving) {
    CTitleScene scene;
    scene.Begin(&keys, &data);
    // Frames 1..29: blank, nothing drawn, the fade closing towards state 1.
    for (int f = 1; f <= 29; ++f) {
        EXPECT_EQ(RunFrame(scene, {}), 0);
        EXPECT_EQ(scene.state, kTitleBlank) << f;
        EXPECT_FALSE(scene.visible);
        EXPECT_EQ(scene.pendingState, kTitleWaiting);
        EXPECT_EQ(scene.fade->counter, f);
        EXPECT_TRUE(AllBlack()) << "frame " << f;
    }
    // Frame 30: state 1 entered, the title opens over the next 29 frames.
    EXPECT_EQ(RunFrame(scene, {}), 0);
    EXPECT_EQ(scene.state, kTitleWaiting);
    EXPECT_EQ(scene.pendingState, kTitleWaiting);
    EXPECT_TRUE(scene.visible);
    EXPECT_EQ(scene.fade->counter, 29);
    EXPECT_FALSE(scene.fade->closing);
    for (int f = 31; f <= 59; ++f) RunFrame(scene, {});
    EXPECT_EQ(scene.fade->counter, 0);
    EXPECT_FALSE(AllBlack());

    // The start button: the prompt flashes and the screen closes over 29 frames.
    RunFrame(scene, {gametest::kKeyZ});
    EXPECT_EQ(scene.pendingState, kTitleLeaving);
    EXPECT_FLOAT_EQ(scene.titleObjects->pushKey.m_blinkStep, -50.0f);
    for (int f = 1; f <= 28; ++f) {
        EXPECT_EQ(RunFrame(scene, {gametest::kKeyZ}), 0) << f;
        EXPECT_EQ(scene.state, kTitleWaiting);
    }
    // The frame the fade is complete: state 2, nothing drawn, the game is asked for.
    EXPECT_EQ(RunFrame(scene, {}), kSceneGame);
    EXPECT_EQ(scene.state, kTitleLeaving);
    EXPECT_FALSE(scene.visible);
    EXPECT_TRUE(AllBlack());
}

TEST_F(TitleSceneTest, StartHeldFromBeforeTheTitleDoesNotStart) {
    Frame({gametest::kKeyZ});
    Frame({gametest::kKeyZ});
    CTitleScene scene;
    scene.Begin(&keys, &data);
    for (int f = 1; f <= 120; ++f) EXPECT_EQ(RunFrame(scene, {gametest::kKeyZ}), 0);
    EXPECT_EQ(scene.state, kTitleWaiting);
    EXPECT_EQ(scene.pendingState, kTitleWaiting);
    // Let go and press again: now it starts.
    RunFrame(scene, {});
    RunFrame(scene, {gametest::kKeyZ});
    EXPECT_EQ(scene.pendingState, kTitleLeaving);
}

TEST_F(TitleSceneTest, StartWhileFadingInRestartsTheClosingFade) {
    CTitleScene scene;
    scene.Begin(&keys, &data);
    for (int f = 1; f <= 34; ++f) RunFrame(scene, {});
    ASSERT_EQ(scene.state, kTitleWaiting);
    ASSERT_EQ(scene.fade->counter, 25);
    RunFrame(scene, {gametest::kKeyZ});  // frame 35
    EXPECT_EQ(scene.fade->counter, 1);
    EXPECT_TRUE(scene.fade->closing);
    int leftAt = 0;
    for (int f = 36; f <= 70 && leftAt == 0; ++f) {
        if (RunFrame(scene, {}) == kSceneGame) leftAt = f;
    }
    EXPECT_EQ(leftAt, 35 + 29);
}

TEST_F(TitleSceneTest, WithoutKeysTheTitleWaitsForEver) {
    CTitleScene scene;
    scene.Begin(nullptr, &data);
    for (int f = 1; f <= 90; ++f) {
        EXPECT_EQ(RunFrame(scene, f % 2 ? std::initializer_list<int>{gametest::kKeyZ} : std::initializer_list<int>{}),
                  0);
    }
    EXPECT_EQ(scene.state, kTitleWaiting);
}

TEST_F(TitleSceneTest, UnknownStatesLeaveOrFallBack) {
    CTitleScene scene;
    scene.Begin(&keys, &data);
    scene.EnterState(7);
    EXPECT_EQ(scene.state, kTitleBlank);
    EXPECT_EQ(scene.pendingState, kTitleBlank);
    scene.state = 9;
    scene.pendingState = 9;
    scene.Update();
    EXPECT_EQ(scene.state, kTitleLeaving);
    EXPECT_EQ(scene.NextScene(), kSceneGame);
}

}  // namespace
