// Tweens: arrival exactly on target, rest below and above, immediate jumps.
#include <gtest/gtest.h>

#include "objects/graphics/Tween.h"

TEST(Tween, NegativeStepArrivesOneUpdateAfterReachingTheTarget) {
    Tween t{255.0, 0.0, -25.5};
    for (int i = 0; i < 10; ++i) t.Step();
    EXPECT_EQ(t.value, 0.0);
    EXPECT_EQ(t.step, -25.5);  // 0 is not below the target: still running
    t.Step();
    EXPECT_EQ(t.value, 0.0);
    EXPECT_EQ(t.step, 0.0);
}

TEST(Tween, PositiveStepStopsExactlyOnTarget) {
    Tween t{0.0, 100.0, 30.0};
    t.Step();
    t.Step();
    t.Step();
    EXPECT_EQ(t.value, 90.0);
    t.Step();
    EXPECT_EQ(t.value, 100.0);
    EXPECT_EQ(t.step, 0.0);
}

TEST(Tween, AtRestBelowJumpsAndAtRestAboveStays) {
    Tween below{0.0, 255.0, 0.0};
    below.Step();
    EXPECT_EQ(below.value, 255.0);
    Tween above{200.0, 100.0, 0.0};
    above.Step();
    above.Step();
    EXPECT_EQ(above.value, 200.0);
    EXPECT_EQ(above.step, 0.0);
}

TEST(Tween, MoveToSetsAStepOrJumps) {
    Tween t{255.0, 255.0, 0.0};
    t.MoveTo(20, 0.0);
    EXPECT_EQ(t.step, -12.75);
    EXPECT_EQ(t.value, 255.0);
    for (int i = 0; i < 20; ++i) t.Step();
    EXPECT_EQ(t.value, 0.0);
    t.MoveTo(0, 80.0);
    EXPECT_EQ(t.value, 80.0);
    EXPECT_EQ(t.target, 80.0);
    EXPECT_EQ(t.step, 0.0);
    t.MoveTo(-3, 10.0);
    EXPECT_EQ(t.value, 10.0);
}

TEST(Tween, FinishedTweenStaysBitForBitAsAnUpdateWouldLeaveIt) {
    Tween done{120.0, 120.0, 0.0};
    done.Step();
    EXPECT_EQ(done.value, 120.0);
    // -0 + 0 is +0: a negative zero on its target is still updated.
    Tween negativeZero{-0.0, 0.0, 0.0};
    EXPECT_FALSE(negativeZero.Finished());
    negativeZero.Step();
    EXPECT_FALSE(std::signbit(negativeZero.value));
}
