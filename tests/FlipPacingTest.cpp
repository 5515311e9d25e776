// FlipScreen's pacing on a platform with a vertical blank every 16 ms (a fake
// display on a virtual clock): the period timed on the first presents, its log
// lines, the rule that two presents never share a refresh, and how often the
// game thread sleeps or waits, in play and while frozen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "MediaTestSupport.h"
#include "app/MainLoop.h"
#include "app/StandInScene.h"
#include "app/SystemContext.h"
#include "media/Media.h"
#include "media/headless/HeadlessControls.h"
#include "media/platform/Platform.h"

namespace {

struct DisplayJournal {
    uint32_t clock = 5;
    std::vector<uint32_t> presents;
    int sleeps = 0;
    int eventWaits = 0;
    int lateBlank = 0;      // this present (from 1) wakes up one refresh late
    int inactivePumps = 0;  // the next pumps report the focus lost
    int quitAfterPumps = -1;
};

class FakeDisplay final : public media::Platform {
public:
    explicit FakeDisplay(DisplayJournal& journal) : j_(journal) {}
    int DesktopBytesPerPixel() override { return 4; }
    bool OpenWindow(const media::WindowRequest&, std::string&) override { return true; }
    void CloseWindow() override {}
    void ResizeWindow(double) override {}
    // Presents wait for the blank, as vsync'd presents do.
    void Present(const void*, int, int, int, media::PixelFormat) override {
        NextBlank();
        if (static_cast<int>(j_.presents.size()) + 1 == j_.lateBlank) NextBlank();
        j_.presents.push_back(j_.clock);
    }
    bool PresentWaitsForBlank() override { return true; }
    void ShowOverlay(const media::OverlayText&, bool) override {}
    void AttachInput(media::InputSink*) override {}
    media::PumpResult PumpEvents() override {
        media::PumpResult r;
        if (j_.inactivePumps > 0) r.active = --j_.inactivePumps == 0;
        r.quit = j_.quitAfterPumps >= 0 && j_.quitAfterPumps-- == 0;
        return r;
    }
    void WaitForEvent(uint32_t timeoutMillis) override {
        j_.clock += timeoutMillis;
        ++j_.eventWaits;
    }
    uint32_t NowMillis() override { return j_.clock; }
    void SleepMillis(uint32_t ms) override {
        j_.clock += ms;
        ++j_.sleeps;
    }
    bool AcquireInstanceLock(const std::string&) override { return true; }
    void ReleaseInstanceLock() override {}
    void AskRunningCopyToShow(const std::string&) override {}
    int OpenAudio(int, media::AudioCallback, void*) override { return 0; }
    void CloseAudio() override {}
    bool DevicePullsByItself() const override { return true; }
    int DisplayRefreshRate() override { return 0; }
    int ShownScale() override { return 1; }
    bool SetFullscreen(bool) override { return true; }
    bool Fullscreen() override { return false; }
    media::PlatformTraits Traits() const override { return {}; }
    void AwaitDataFile(const char*) override {}

private:
    void NextBlank() { j_.clock = (j_.clock / 16 + 1) * 16; }
    DisplayJournal& j_;
};

bool LogHas(const std::string& utf8) {
    return testsupport::ReadFile("Log.txt").find(testsupport::ToSjis(utf8)) != std::string::npos;
}

class FlipPacing : public ::testing::Test {
protected:
    void StartMedia() {
        media::UsePlatform(std::make_unique<FakeDisplay>(display_));
        SetScreenMode(160, 120, 16, 60);
        ASSERT_EQ(InitMediaLayer(), 0);
        SetDrawTarget(kBackScreen);
    }
    void TearDown() override {
        EndMediaLayer();
        media::headless::Install(true);
    }
    testsupport::ScratchFolder folder_;
    DisplayJournal display_;
};

TEST_F(FlipPacing, TimesThePeriodOnTheFirstPresentsAndThenKeepsPresentsInSeparateRefreshes) {
    StartMedia();
    // Nothing is presented or waited for at start: the first flip shows at the first blank.
    EXPECT_TRUE(display_.presents.empty());
    ASSERT_EQ(FlipScreen(), 0);
    EXPECT_EQ(display_.presents.back(), 16u);
    for (int i = 0; i < 3; ++i) FlipScreen();
    EXPECT_FALSE(LogHas("msecです"));
    FlipScreen();  // the fourth trial
    EXPECT_TRUE(LogHas("１フレーム当たりの時間は 16 msecです"));
    EXPECT_TRUE(LogHas("\tTri00:16 msec"));
    EXPECT_TRUE(LogHas("\tTri03:16 msec"));
    EXPECT_FALSE(LogHas("１フレームの時間を正常に取得できませんでした"));
    EXPECT_EQ(display_.sleeps, 0);

    // m = (2 * 16 - 4) / 3 = 9 ms.
    const uint32_t first = display_.presents.back();
    display_.clock += 3;  // a quick frame: the 6 ms left are slept in one go
    display_.sleeps = 0;
    FlipScreen();
    EXPECT_EQ(display_.sleeps, 1);
    EXPECT_EQ(display_.presents.back(), first + 16);
    display_.clock += 12;  // a slow frame: no sleep, straight to the next blank
    display_.sleeps = 0;
    FlipScreen();
    EXPECT_EQ(display_.sleeps, 0);
    EXPECT_EQ(display_.presents.back(), first + 32);
    display_.clock += 30;  // slower than a refresh: the present lands in the next free one
    FlipScreen();
    EXPECT_EQ(display_.presents.back(), first + 64);
}

TEST_F(FlipPacing, OneLatePresentDoesNotSkewThePeriod) {
    display_.lateBlank = 3;  // the second trial takes 32 ms
    StartMedia();
    for (int i = 0; i < 5; ++i) FlipScreen();
    EXPECT_TRUE(LogHas("\tTri01:32 msec"));
    EXPECT_TRUE(LogHas("１フレーム当たりの時間は 16 msecです"));
}

// The real main loop on the fake display: the pacer and FlipScreen together
// sleep at most twice a frame; frozen, the loop waits for window events with a
// long timeout instead of polling.
TEST_F(FlipPacing, TheLoopSleepsAtMostTwiceAFrameAndWaitsForEventsWhileFrozen) {
    ResetSystem();
    media::UsePlatform(std::make_unique<FakeDisplay>(display_));
    display_.quitAfterPumps = 200;
    MainLoopOptions options;
    options.makeScene = [](int) -> CScene* { return new StandInScene(); };
    int mostSleeps = 0;
    uint32_t frozenSince = 0;
    options.beforeFrame = [&](uint64_t) {
        mostSleeps = std::max(mostSleeps, display_.sleeps);
        display_.sleeps = 0;
    };
    options.afterFrame = [&](uint64_t frame, CScene&) {
        if (frame != 100) return;
        display_.inactivePumps = 31;  // the focus is lost for the next 30 pumps
        frozenSince = display_.clock;
    };
    EXPECT_EQ(RunMainLoop(options), 0);
    EXPECT_LE(mostSleeps, 2);
    const int waits = display_.eventWaits;
    ASSERT_EQ(waits, 30);
    const uint32_t frozenMillis = display_.clock - frozenSince;
    EXPECT_LT(waits * 1000 / static_cast<int>(frozenMillis), 20);  // wake-ups a second
    ResetSystem();
}

}  // namespace
