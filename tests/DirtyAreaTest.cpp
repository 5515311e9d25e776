// The changed parts of a picture: however rectangles come (touching, apart,
// inside one another, more than fit), the ones kept never overlap (a blended
// draw over two of them would blend twice) and hold every pixel added.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "media/video/DirtyArea.h"

namespace {

using media::DirtyArea;
using media::ScreenRect;

TEST(DirtyArea, KeepsApartRectanglesThatHoldEveryPixelAdded) {
    std::mt19937 random(99);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<uint32_t>(n)); };
    for (int round = 0; round < 2000; ++round) {
        DirtyArea area;
        std::vector<ScreenRect> added;
        const int count = 1 + pick(14);
        for (int i = 0; i < count; ++i) {
            // Figures and digits on a small grid, so that many touch or nearly touch.
            const int x = pick(40) * 4, y = pick(30) * 4;
            const ScreenRect r{x, y, x + 1 + pick(20), y + 1 + pick(20)};
            area.Add(r);
            added.push_back(r);
        }
        const std::vector<ScreenRect> kept(area.begin(), area.end());
        ASSERT_LE(kept.size(), DirtyArea::kMaxRects);
        for (size_t i = 0; i < kept.size(); ++i) {
            for (size_t j = i + 1; j < kept.size(); ++j) ASSERT_FALSE(kept[i].Meets(kept[j])) << round;
        }
        for (const ScreenRect& r : added) {
            for (int y = r.y0; y < r.y1; ++y) {
                for (int x = r.x0; x < r.x1; ++x) {
                    const ScreenRect pixel{x, y, x + 1, y + 1};
                    ASSERT_NE(area.Holding(pixel), nullptr) << round << " at " << x << "," << y;
                }
            }
        }
    }
    // Digits side by side become one rectangle; figures far apart stay two.
    DirtyArea digits;
    digits.Add(ScreenRect{65, 23, 70, 32});
    digits.Add(ScreenRect{70, 23, 75, 32});
    digits.Add(ScreenRect{75, 23, 80, 32});
    digits.Add(ScreenRect{0, 90, 16, 106});
    ASSERT_EQ(digits.end() - digits.begin(), 2);
    EXPECT_NE(digits.Holding(ScreenRect{65, 23, 80, 32}), nullptr);
}

}  // namespace
