// Number objects: clamping, digit split, range capacity and centred drawing.
#include <vector>

#include <gtest/gtest.h>

#include "ObjectsTestSupport.h"
#include "media/Media.h"
#include "objects/NumObj.h"

using namespace objtest;

namespace {

class NumObj : public MediaTest {
protected:
    std::vector<int> Digits(const CNumObj& n) {
        std::vector<int> d;
        for (int i = 0; i < n.m_digitCount && i < static_cast<int>(n.m_digits.size()); ++i) {
            d.push_back(n.m_digits[i]);
        }
        return d;
    }
    // Left edges of the digit cells drawn on row y, with the digit each one shows.
    std::vector<std::pair<int, int>> DrawnDigits(int y) {
        const auto s = Screen();
        std::vector<std::pair<int, int>> found;
        for (int x = 0; x < kScreenW; ++x) {
            const uint32_t p = At(s, x, y);
            if (p == 0 || (x > 0 && At(s, x - 1, y) == p)) continue;
            for (int d = 0; d < 10; ++d) {
                if (Near(p, DigitColour(d))) found.push_back({x, d});
            }
        }
        return found;
    }
};

}  // namespace

TEST_F(NumObj, BuiltWithTheWideRangeNotTheResetOne) {
    CNumObj n;
    EXPECT_EQ(n.m_max, 9999);
    EXPECT_EQ(n.m_min, 0);
    EXPECT_EQ(n.m_maxDigits, 4);
    EXPECT_EQ(n.m_digits.size(), 4u);
    EXPECT_EQ(n.m_digitCount, 0);
    EXPECT_EQ(n.m_digitPitch, 0);
    n.SetValue(150);
    EXPECT_EQ(Digits(n), (std::vector<int>{1, 5, 0}));
    n.Release();
}

TEST_F(NumObj, ValuesAreClampedAndSplitIntoDigits) {
    CNumObj n;
    n.SetValue(0);
    EXPECT_EQ(Digits(n), (std::vector<int>{0}));
    n.SetValue(12345);
    EXPECT_EQ(n.m_value, 9999);
    EXPECT_EQ(Digits(n), (std::vector<int>{9, 9, 9, 9}));
    n.SetValue(-5);
    EXPECT_EQ(Digits(n), (std::vector<int>{0}));
    n.SetValue(2);
    n.AddValue(-3);
    EXPECT_EQ(n.m_value, 0);
    n.AddValue(2147483647);  // no overflow on the way to the bound
    EXPECT_EQ(n.m_value, 9999);

    n.SetRange(-10, -20);
    EXPECT_EQ(n.m_min, 0);
    EXPECT_EQ(n.m_max, 0);
    EXPECT_EQ(n.m_maxDigits, 1);
    n.SetValue(7);
    EXPECT_EQ(Digits(n), (std::vector<int>{0}));

    n.SetRange(5, 10);
    n.SetValue(1);
    EXPECT_EQ(n.m_value, 5);

    n.Reset();
    EXPECT_EQ(n.m_max, 100);
    EXPECT_EQ(n.m_maxDigits, 4);
    n.SetRange(0, 9999);  // the array grows back even though the capacity field says 4
    n.SetValue(1234);
    EXPECT_EQ(Digits(n), (std::vector<int>{1, 2, 3, 4}));
    n.Release();
}

TEST_F(NumObj, DigitsAreCentredOnThePosition) {
    WriteDigitSheet();
    CNumObj n;
    n.LoadDigits();
    EXPECT_EQ(n.m_digitPitch, 5);
    ASSERT_EQ(n.m_graphics.size(), 10u);

    n.SetValue(123);
    n.SetPos(80, 30);
    n.Draw();
    EXPECT_EQ(DrawnDigits(30), (std::vector<std::pair<int, int>>{{73, 1}, {78, 2}, {83, 3}}));
    EXPECT_EQ(LitPixels(Screen(), 0, 0, kScreenW, 30), 0);  // top-aligned

    ClearScreen();
    n.SetValue(42);
    n.DrawAt(80, 60);
    EXPECT_EQ(DrawnDigits(60), (std::vector<std::pair<int, int>>{{75, 4}, {80, 2}}));

    ClearScreen();
    n.SetValue(1234);
    n.SetRange(0, 99);  // keeps 1 and 2 until the next SetValue
    EXPECT_EQ(n.m_digits.size(), 2u);
    n.DrawAt(80, 60);
    EXPECT_EQ(DrawnDigits(60), (std::vector<std::pair<int, int>>{{70, 1}, {75, 2}}));
    n.SetValue(1234);
    EXPECT_EQ(Digits(n), (std::vector<int>{9, 9}));

    ClearScreen();
    n.m_alpha.value = 0;  // fades like any graphic object
    n.Draw();
    EXPECT_EQ(LitPixels(Screen(), 0, 0, kScreenW, kScreenH), 0);
    n.Release();
}

TEST_F(NumObj, WithoutDigitGraphicsNothingIsDrawn) {
    WriteDigitSheet();
    CNumObj n;
    n.SetValue(88);
    n.SetPos(80, 60);
    n.Draw();
    EXPECT_EQ(LitPixels(Screen(), 0, 0, kScreenW, kScreenH), 0);

    n.LoadDigits();
    n.Reset();  // the digit graphics go back; the pitch is 0
    EXPECT_TRUE(n.m_graphics.empty());
    EXPECT_EQ(n.m_digitPitch, 0);
    n.SetValue(8);
    n.Draw();
    EXPECT_EQ(LitPixels(Screen(), 0, 0, kScreenW, kScreenH), 0);
    CBaseObj* base = &n;
    base->Release();
    base->Release();
}
