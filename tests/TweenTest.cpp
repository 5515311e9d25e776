// Tweens: arrival exactly on target, rest below and above, immediate jumps;
// the truncation of their values.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

#include "objects/graphics/Truncate.h"
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

TEST(Tween, UnrestIsZeroOnlyWhereAStepWouldChangeNoBit) {
    const double values[] = {0.0, -0.0, 1.0, 255.0, -3.5, std::nan("")};
    const double steps[] = {0.0, -0.0, 1.0, -12.75};
    auto bits = [](const Tween& t) {
        return std::array{std::bit_cast<uint64_t>(t.value), std::bit_cast<uint64_t>(t.target),
                          std::bit_cast<uint64_t>(t.step)};
    };
    int restful = 0;
    for (double value : values) {
        for (double target : values) {
            for (double step : steps) {
                Tween t{value, target, step};
                if (t.Unrest() != 0) continue;
                ++restful;
                const auto before = bits(t);
                t.Step();
                EXPECT_EQ(bits(t), before) << value << " " << target << " " << step;
                Tween stepped{value, target, step};
                EXPECT_TRUE(stepped.Finished() || std::isnan(value));
            }
        }
    }
    EXPECT_EQ(restful, 5);  // +0, 1, 255, -3.5 and NaN on themselves with a +0 step
}

TEST(Tween, TruncationTowardZeroSaturatesAndGivesZeroForNaN) {
    const double lo = -2147483648.0, hi = 2147483647.0;
    const struct {
        double v;
        int32_t want;
    } cases[] = {{0.0, 0},          {-0.0, 0},          {254.99, 254},        {-1.5, -1},
                 {hi, INT32_MAX},   {hi + 0.5, INT32_MAX}, {hi + 1.0, INT32_MAX}, {lo, INT32_MIN},
                 {lo + 0.5, INT32_MIN + 1}, {lo - 0.5, INT32_MIN}, {-1e300, INT32_MIN}, {1e300, INT32_MAX},
                 {INFINITY, INT32_MAX}, {-INFINITY, INT32_MIN}, {std::nan(""), 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(TruncToInt(c.v), c.want) << c.v;
        const float f = static_cast<float>(c.v);
        EXPECT_EQ(TruncToInt(f), TruncToInt(static_cast<double>(f))) << f;
    }
}
