// The program's scene flow through the real main loop: the title first, Z
// starts a game with a fresh player record, and the game scene is running; a
// refused order is told to the window above the picture.
#include <gtest/gtest.h>

#include "CannotRun.h"
#include "GameTestSupport.h"
#include "app/MainLoop.h"
#include "game/rules/scene/GameScene.h"
#include "game/rules/state/GameData.h"
#include "game/world/GameScreen.h"
#include "game/world/GridMenu.h"
#include "media/shell/WindowOverlay.h"
#include "objects/graphics/Language.h"
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

// A trap chosen with no money in the real loop, as a window runs it: the notice
// saying why reaches the window for two seconds, and the game waits on the
// unit menu as before.
TEST(GameFlow, ARefusedOrderIsToldToTheWindowForTwoSeconds) {
    if (!gametest::HaveAssets()) return testsupport::CannotRun("assets/ not built yet");
    gametest::WorkFolder folder(true);
    media::headless::UsePlayerKeys({false, true, false, false});
    SetGameLanguage(Language::English);
    MainLoopOptions options;
    const CGameScene* game = nullptr;
    bool pressZ = false, refused = false;
    int lastState = -1;  // the game scene's, at the end of the last frame
    int64_t shownFrom = -1, shownTo = -1;
    uint32_t shownAt = 0, hiddenAt = 0;
    std::string notice;
    options.beforeFrame = [&](uint64_t frame) {
        media::headless::ReleaseAllKeys();
        if (frame == 70 || pressZ) media::headless::SetKeyDown(gametest::kKeyZ, true);
        pressZ = false;
        if (frame == 700) media::headless::RequestQuit();
    };
    options.afterFrame = [&](uint64_t frame, CScene& scene) {
        const auto* now = dynamic_cast<CGameScene*>(&scene);
        if (now && !game) now->gameData->player.money = 0;
        game = now;
        if (game) lastState = game->state;
        const bool waiting = game && game->pendingState == game->state && frame % 8 == 0;
        if (waiting && game->state == kStateCommandMenu) {
            game->screen->commandMenu->cursorColumn = 1;  // set a trap: 40 money
            game->screen->commandMenu->cursorRow = 1;
            pressZ = true;
        } else if (waiting && game->state == kStateChooseUnit && !refused) {
            pressZ = refused = true;  // Yellow, under the cursor
        }
        const std::vector<std::string> lines = media::headless::ShownOverlay().lines;
        const uint32_t millis = GetNowMillis(0);
        if (!lines.empty() && shownFrom < 0) {
            shownFrom = static_cast<int64_t>(frame), shownAt = millis, notice = lines[0];
        } else if (lines.empty() && shownFrom >= 0 && shownTo < 0) {
            shownTo = static_cast<int64_t>(frame), hiddenAt = millis;
        }
    };
    EXPECT_EQ(RunMainLoop(options), 0);
    SetGameLanguage(Language::Japanese);
    EXPECT_EQ(lastState, kStateChooseUnit);
    EXPECT_EQ(notice, "Not enough money: 40 needed, 0 held");
    ASSERT_GT(shownTo, shownFrom);
    EXPECT_GE(hiddenAt - shownAt, media::kNoticeMillis);
    EXPECT_LE(hiddenAt - shownAt, media::kNoticeMillis + 40);  // within the frames that show it
}

}  // namespace
