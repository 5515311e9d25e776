// The program's scene flow through the real main loop: the title first, Z
// starts a game with a fresh player record, and the game scene is running.
#include <gtest/gtest.h>

#include "CannotRun.h"
#include "GameTestSupport.h"
#include "app/MainLoop.h"
#include "game/rules/scene/GameScene.h"
#include "game/rules/state/GameData.h"
#include "title/TitleScene.h"

namespace {

TEST(GameFlow, TitleThenZStartsANewGame) {
    if (!gametest::HaveAssets()) return testsupport::CannotRun("assets/ not built yet");
    gametest::WorkFolder folder(true);
    MainLoopOptions options;
    int gameStartedAt = -1;
    bool sawTitle = false;
    int foodAtStart = 0, dayAtStart = 0;
    options.beforeFrame = [&](int frame) {
        media::headless::ReleaseAllKeys();
        if (frame == 70) media::headless::SetKeyDown(gametest::kKeyZ, true);
        if (frame == 200) media::headless::RequestQuit();
    };
    options.afterFrame = [&](int frame, CScene& scene) {
        if (auto* title = dynamic_cast<CTitleScene*>(&scene)) {
            sawTitle = true;
            // The record is dirty from an earlier game; the switch must reset it.
            scene.gameData->player.food = 3;
            scene.gameData->player.day = 57;
            (void)title;
        } else if (dynamic_cast<CGameScene*>(&scene) && gameStartedAt < 0) {
            gameStartedAt = frame;
            foodAtStart = scene.gameData->player.food;
            dayAtStart = scene.gameData->player.day;
        }
    };
    EXPECT_EQ(RunMainLoop(options), 0);
    EXPECT_TRUE(sawTitle);
    // Z down at frame 70 (the title is waiting since frame 29), fade 29 frames.
    EXPECT_EQ(gameStartedAt, 70 + 29);
    EXPECT_EQ(foodAtStart, 100);
    EXPECT_EQ(dayAtStart, 1);
}

}  // namespace
