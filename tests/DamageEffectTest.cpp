// The damage number's 61-update timeline.
#include <memory>

#include <gtest/gtest.h>

#include "ObjectsTestSupport.h"
#include "media/Media.h"
#include "objects/BaseEffect.h"
#include "objects/DamageEffect.h"

using namespace objtest;

namespace {

class DamageEffect : public MediaTest {
protected:
    void SetUp() override {
        MediaTest::SetUp();
        WriteDigitSheet();
    }
    // Starts the effect the way an owner does.
    static void StartShown(CDamageEffect& e, int x, int y, int value) {
        e.Start(x, y);
        e.m_number.SetValue(value);
        e.m_number.m_alpha = {255.0, 255.0, 0.0};
    }
    static void Run(CDamageEffect& e, int updates) {
        for (int i = 0; i < updates; ++i) e.Update();
    }
};

}  // namespace

TEST_F(DamageEffect, RisesThenFadesOverTheLastTwentyUpdates) {
    CDamageEffect e;
    EXPECT_EQ(e.m_life, 0);
    EXPECT_EQ(e.m_number.m_max, 9999);
    StartShown(e, 80, 60, 12);
    EXPECT_EQ(e.m_life, 60);

    Run(e, 10);
    EXPECT_EQ(e.m_number.m_y, 55);
    e.Draw();
    auto s = Screen();
    EXPECT_TRUE(Near(At(s, 75, 55), DigitColour(1)));
    EXPECT_TRUE(Near(At(s, 80, 55), DigitColour(2)));
    EXPECT_EQ(At(s, 74, 55), 0u);
    EXPECT_EQ(At(s, 75, 54), 0u);

    Run(e, 30);  // 40 updates
    EXPECT_EQ(e.m_number.m_y, 40);
    EXPECT_EQ(e.m_number.m_alpha.value, 255.0);
    EXPECT_EQ(e.m_number.m_alpha.step, -12.75);

    Run(e, 10);  // 50 updates
    EXPECT_EQ(e.m_number.m_alpha.value, 127.5);
    ClearScreen();
    e.Draw();
    s = Screen();
    const uint32_t full = DigitColour(1);
    const uint32_t half =
        (((full >> 16) * 127 / 255) << 16) | ((((full >> 8) & 0xFF) * 127 / 255) << 8) | ((full & 0xFF) * 127 / 255);
    EXPECT_TRUE(Near(At(s, 75, 35), half, 12)) << std::hex << At(s, 75, 35);

    Run(e, 10);  // 60 updates
    EXPECT_EQ(e.m_life, 0);
    EXPECT_EQ(e.m_number.m_alpha.value, 0.0);
    EXPECT_EQ(e.m_number.m_y, 30);

    Run(e, 1);  // 61: finished, no further rise
    EXPECT_EQ(e.m_life, -1);
    EXPECT_EQ(e.m_number.m_y, 30);
    EXPECT_EQ(e.m_number.m_alpha.value, 0.0);
    EXPECT_EQ(e.m_number.m_alpha.step, 0.0);
    ClearScreen();
    e.Draw();
    EXPECT_EQ(LitPixels(Screen(), 0, 0, kScreenW, kScreenH), 0);

    StartShown(e, 20, 100, 123456);  // restart; large values show 9999
    EXPECT_EQ(e.m_number.m_value, 9999);
    Run(e, 2);
    EXPECT_EQ(e.m_number.m_y, 99);
}

TEST_F(DamageEffect, WithoutTheOpacityStepNothingShows) {
    auto pool = std::make_unique<CDamageEffect>();
    pool->Start(80, 60);
    pool->m_number.SetValue(5);
    for (int i = 0; i < 61; ++i) {
        pool->Update();
        ClearScreen();
        pool->Draw();
        ASSERT_EQ(LitPixels(Screen(), 0, 0, kScreenW, kScreenH), 0) << "update " << i;
    }
    // The owner may release the number itself; destruction stays clean.
    pool->m_number.Release();
    std::unique_ptr<CBaseEffect> base = std::move(pool);
    base.reset();
}
