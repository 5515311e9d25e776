// Characters on the dungeon map: every movement mode, its pace and its draws.
#include <gtest/gtest.h>

#include <climits>

#include "GameTestSupport.h"
#include "game/rules/state/GameData.h"
#include "game/world/GameChar.h"
#include "objects/graphics/AnimeGraph.h"

namespace {

class GameCharTest : public ::testing::Test {
protected:
    gametest::WorkFolder folder{false};
};

void Steps(CGameChar& c, int n) {
    for (int i = 0; i < n; ++i) c.Update();
}

TEST_F(GameCharTest, StartsHiddenAndResetFreesStats) {
    CGameChar c;
    EXPECT_EQ(c.mode, kCharHidden);
    EXPECT_FALSE(c.visible);
    EXPECT_EQ(c.stats, nullptr);
    c.stats = new UnitStats();
    c.SetMode(kCharWalkRight);
    c.Reset();
    EXPECT_EQ(c.stats, nullptr);
    EXPECT_EQ(c.mode, kCharHidden);
    EXPECT_EQ(c.moveWait, 0);
    c.stats = new UnitStats();
    c.Release();  // frees the stats; the leak checker watches
    EXPECT_EQ(c.stats, nullptr);
}

TEST_F(GameCharTest, OutOfRangeModesHide) {
    CGameChar c;
    for (int m : {11, -1, 1000}) {
        c.SetMode(kCharStand);
        ASSERT_TRUE(c.visible);
        c.SetMode(m);
        EXPECT_EQ(c.mode, kCharHidden);
        EXPECT_FALSE(c.visible);
    }
}

TEST_F(GameCharTest, GoDownWalksToTheMouthYFirstAndHides) {
    CGameChar c;
    c.SetPos(70, 50);
    c.SetMode(kCharGoDown);
    EXPECT_TRUE(c.visible);
    EXPECT_EQ(c.moveWait, 0);
    // y first, one pixel a frame.
    for (int y = 49; y >= 40; --y) {
        c.Update();
        EXPECT_EQ(c.m_x, 70);
        EXPECT_EQ(c.m_y, y);
    }
    c.Update();
    EXPECT_EQ(c.m_x, 71);
    EXPECT_FALSE(c.m_turn);
    EXPECT_TRUE(c.visible);
    c.Update();
    EXPECT_EQ(c.m_x, 72);
    EXPECT_FALSE(c.visible);
    EXPECT_EQ(c.mode, kCharHidden);
    // Nothing moves any more.
    Steps(c, 5);
    EXPECT_EQ(c.m_x, 72);
    EXPECT_EQ(c.m_y, 40);

    // From the right it walks left, mirrored.
    CGameChar r;
    r.SetPos(74, 40);
    r.SetMode(kCharGoDown);
    r.Update();
    EXPECT_EQ(r.m_x, 73);
    EXPECT_TRUE(r.m_turn);
    r.Update();
    EXPECT_EQ(r.mode, kCharHidden);
}

TEST_F(GameCharTest, GoDownFromTheMouthItselfStepsOutAndBack) {
    CGameChar c;
    c.SetPos(72, 40);
    c.SetMode(kCharGoDown);
    c.Update();
    EXPECT_EQ(c.m_x, 73);
    EXPECT_EQ(c.m_y, 40);
    EXPECT_TRUE(c.visible);
    EXPECT_EQ(c.mode, kCharGoDown);
    c.Update();
    EXPECT_EQ(c.m_x, 72);
    EXPECT_TRUE(c.m_turn);
    EXPECT_FALSE(c.visible);
    EXPECT_EQ(c.mode, kCharHidden);
}

TEST_F(GameCharTest, ComeUpLeavesTheMouthForARandomSpotThenWanders) {
    for (int trial = 0; trial < 20; ++trial) {
        CGameChar c;
        c.SetPos(5, 5);
        c.SetMode(kCharComeUp);
        EXPECT_EQ(c.m_x, 72);
        EXPECT_EQ(c.m_y, 40);
        EXPECT_TRUE(c.visible);
        EXPECT_GE(c.targetX, 0);
        EXPECT_LE(c.targetX, 143);
        EXPECT_GE(c.targetY, 40);
        EXPECT_LE(c.targetY, 52);
        const int distance = std::abs(c.targetX - 72) + std::abs(c.targetY - 40);
        // One pixel a frame; arrival is checked after the move of that frame
        // (a target on the mouth itself is reached only after a step out and back).
        const int frames = distance == 0 ? 2 : distance;
        Steps(c, frames - 1);
        EXPECT_EQ(c.mode, kCharComeUp);
        c.Update();
        EXPECT_EQ(c.m_x, c.targetX);
        EXPECT_EQ(c.m_y, c.targetY);
        EXPECT_EQ(c.mode, kCharWander);
        EXPECT_TRUE(c.visible);
        EXPECT_GE(c.moveWait, 0);
        EXPECT_LE(c.moveWait, 7);
        EXPECT_EQ(c.m_frameWait, static_cast<uint32_t>(c.moveWait + 10));
    }
}

TEST_F(GameCharTest, AppearKeepsThePaceItHadAndTurnsToWanderAtItsFirstStep) {
    CGameChar c;
    c.moveWait = 4;
    c.moveCounter = 1;
    c.SetMode(kCharAppear);
    EXPECT_EQ(c.moveWait, 4);
    EXPECT_EQ(c.moveCounter, 1);
    EXPECT_TRUE(c.visible);
    EXPECT_GE(c.m_x, 0);
    EXPECT_LE(c.m_x, 143);
    EXPECT_GE(c.m_y, 40);
    EXPECT_LE(c.m_y, 52);
    const int x = c.m_x, y = c.m_y;
    Steps(c, 2);  // counter 2, 3: below the wait
    EXPECT_EQ(c.mode, kCharAppear);
    c.Update();  // counter 4: the first step
    EXPECT_EQ(c.mode, kCharWander);
    EXPECT_EQ(c.moveCounter, 0);
    EXPECT_EQ(c.m_x, x);  // no movement in that step
    EXPECT_EQ(c.m_y, y);
    EXPECT_EQ(c.m_frameWait, static_cast<uint32_t>(c.moveWait + 10));
}

TEST_F(GameCharTest, WanderingStaysInsideTheBand) {
    CGameChar c;
    const int corners[4][2] = {{0, 40}, {144, 40}, {0, 52}, {144, 52}};
    for (const auto& corner : corners) {
        c.SetPos(corner[0], corner[1]);
        c.SetMode(kCharWander);
        EXPECT_GE(c.moveWait, 0);
        EXPECT_LE(c.moveWait, 7);
        EXPECT_EQ(c.m_frameWait, static_cast<uint32_t>(c.moveWait + 10));
        bool moved = false;
        for (int i = 0; i < 3000; ++i) {
            c.Update();
            ASSERT_GE(c.m_x, 0);
            ASSERT_LE(c.m_x, 144);
            ASSERT_GE(c.m_y, 40);
            ASSERT_LE(c.m_y, 52);
            ASSERT_LE(c.moveWait, 7);
            moved |= (c.m_x != corner[0] || c.m_y != corner[1]);
        }
        EXPECT_TRUE(moved);
        EXPECT_EQ(c.mode, kCharWander);
    }
}

TEST_F(GameCharTest, WanderingTendsToKeepItsDirection) {
    // A character facing right moves right in (50 + 35) / 101 of its sideways steps.
    CGameChar c;
    int right = 0, left = 0;
    for (int i = 0; i < 4000; ++i) {
        c.SetPos(72, 46);
        c.SetMode(kCharWander);
        c.SetTurn(false);
        c.moveWait = 0;
        c.moveCounter = 0;
        c.Update();
        if (c.m_x == 73) ++right;
        if (c.m_x == 71) ++left;
    }
    // Expected 0.8 x 0.84 = 67 % right and 13 % left; the bounds are far apart.
    EXPECT_GT(right, 4 * left);
}

TEST_F(GameCharTest, StepPaceFollowsMoveWait) {
    struct Case {
        int wait;
        int frames;
        int moves;
    };
    // A step happens when the incremented counter is not below the wait.
    for (const Case& k : {Case{0, 10, 10}, Case{1, 10, 10}, Case{2, 10, 5}, Case{7, 21, 3}}) {
        CGameChar c;
        c.SetPos(100, 45);
        c.SetMode(kCharWalkLeft);
        c.moveWait = k.wait;
        int moves = 0;
        int lastX = c.m_x;
        for (int f = 1; f <= k.frames; ++f) {
            c.Update();
            if (c.m_x != lastX) {
                ++moves;
                if (k.wait > 1) {
                    EXPECT_EQ(f % k.wait, 0) << "wait " << k.wait << " frame " << f;
                }
            }
            lastX = c.m_x;
        }
        EXPECT_EQ(moves, k.moves) << "wait " << k.wait;
    }
}

TEST_F(GameCharTest, WalkingAndStanding) {
    CGameChar c;
    c.SetPos(44, 40);
    c.SetMode(kCharWalkRight);
    EXPECT_EQ(c.moveWait, 1);
    Steps(c, 3);
    EXPECT_EQ(c.m_x, 47);

    c.SetMode(kCharWalkLeft);
    Steps(c, 5);
    EXPECT_EQ(c.m_x, 42);

    c.SetMode(kCharWalkLeftSlow);
    EXPECT_EQ(c.moveWait, 2);
    c.moveCounter = 0;
    Steps(c, 6);
    EXPECT_EQ(c.m_x, 39);

    c.SetTurn(true);
    c.m_frameWait = 3;
    c.SetMode(kCharStand);
    EXPECT_FALSE(c.m_turn);
    EXPECT_EQ(c.m_frameWait, 8u);
    EXPECT_EQ(c.moveWait, 2);  // stand keeps the pace it had
    Steps(c, 10);
    EXPECT_EQ(c.m_x, 39);
    EXPECT_EQ(c.m_y, 40);
    EXPECT_TRUE(c.visible);
}

TEST_F(GameCharTest, FlightStartDrawsBothSpeeds) {
    for (int i = 0; i < 200; ++i) {
        CGameChar c;
        c.SetPos(44, 47);
        c.SetMode(i % 2 ? kCharFlyLeft : kCharFlyRight);
        EXPECT_EQ(c.moveWait, 1);
        EXPECT_DOUBLE_EQ(c.flyX, 44.0);
        EXPECT_DOUBLE_EQ(c.flyY, 47.0);
        const double speed = i % 2 ? -c.velX : c.velX;
        EXPECT_GE(speed, 1.0);
        EXPECT_LE(speed, 4.0);
        EXPECT_EQ(speed, static_cast<int>(speed));
        EXPECT_LE(c.velY, -1.0);
        EXPECT_GE(c.velY, -4.0);
        EXPECT_EQ(c.velY, static_cast<int>(c.velY));
    }
}

TEST_F(GameCharTest, FlightSequenceUnderGravity) {
    CGameChar c;
    c.SetPos(50, 45);
    c.SetMode(kCharFlyLeft);
    c.velX = -1.0;  // both draws 0
    c.velY = -1.0;
    c.Update();
    EXPECT_EQ(c.m_x, 49);
    EXPECT_EQ(c.m_y, 44);  // 45 - 0.9 = 44.1
    c.Update();
    EXPECT_EQ(c.m_x, 48);
    EXPECT_EQ(c.m_y, 43);  // 44.1 - 0.8 = 43.3
    // Upwards while the speed lasts, then falling back and on down off the screen.
    int highest = c.m_y;
    for (int i = 0; i < 200; ++i) {
        c.Update();
        if (c.m_y < highest) highest = c.m_y;
    }
    EXPECT_EQ(highest, 40);  // 45 - (0.9 + 0.8 + ... + 0.1) = 40.5
    EXPECT_GT(c.m_y, 120);
    EXPECT_LT(c.m_x, 0);
    EXPECT_EQ(c.mode, kCharFlyLeft);
    EXPECT_TRUE(c.visible);

    CGameChar r;
    r.SetPos(100, 47);
    r.SetMode(kCharFlyRight);
    r.velX = 3.0;
    r.velY = -2.0;
    r.Update();
    EXPECT_EQ(r.m_x, 103);
    EXPECT_EQ(r.m_y, 45);  // 47 - 1.9
}

TEST_F(GameCharTest, LongFlightsSaturateTheShownPosition) {
    CGameChar c;
    c.SetMode(kCharFlyRight);
    c.flyX = 3.0e12;
    c.flyY = -3.0e12;
    c.velX = 1.0;
    c.velY = 0.0;
    c.Update();
    EXPECT_EQ(c.m_x, INT_MAX);
    EXPECT_EQ(c.m_y, INT_MIN);
}

TEST_F(GameCharTest, HiddenCharactersStillAnimate) {
    CGameChar c;
    SetupUnitGraphics(c, 2);
    c.SetMode(kCharHidden);
    c.m_frameWait = 0;
    auto* strip = dynamic_cast<CAnimeGraph*>(c.m_graphics.at(0));
    ASSERT_NE(strip, nullptr);
    ASSERT_EQ(strip->m_frames.size(), 4u);  // four cells even when the sheet is missing
    c.Update();
    c.Update();
    EXPECT_EQ(strip->m_frame, 2u);
    c.Release();
}

TEST_F(GameCharTest, UnitGraphicsAreTheFourSheetRows) {
    CGameChar c;
    c.AddBox(5);
    SetupUnitGraphics(c, 3);
    EXPECT_EQ(c.m_graphics.size(), 4u);
    EXPECT_EQ(c.m_frameWait, 15u);
    EXPECT_EQ(c.colour, 3);
    EXPECT_EQ(c.m_current, 0u);
    SetupUnitGraphics(c, 9);
    EXPECT_EQ(c.m_graphics.size(), 4u);
    EXPECT_EQ(c.colour, 0);
    c.Release();
}

}  // namespace
