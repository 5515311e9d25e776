// FlipScreen's pacing on a platform with a vertical blank every 16 ms (a fake
// display on a virtual clock): the measured period, its log lines, and the rule
// that two presents never share a refresh.
#include <gtest/gtest.h>

#include <cstring>

#include "MediaTestSupport.h"
#include "media/Headless.h"
#include "media/Media.h"
#include "media/Platform.h"

namespace {

class FakeDisplay final : public media::Platform {
public:
    explicit FakeDisplay(uint32_t* clock, std::vector<uint32_t>* presents, int* sleeps)
        : clock_(clock), presents_(presents), sleeps_(sleeps) {}
    int DesktopBytesPerPixel() override { return 4; }
    bool OpenWindow(const media::WindowRequest&, std::string&) override { return true; }
    void CloseWindow() override {}
    void ResizeWindow(double) override {}
    // Presents wait for the blank, as vsync'd presents do.
    void Present(const void*, int, int, int, media::PixelFormat) override {
        NextBlank();
        presents_->push_back(*clock_);
    }
    bool WaitVerticalBlank() override {
        NextBlank();
        if (++waits_ == lateWait) NextBlank();  // this wait wakes up one refresh late
        return true;
    }
    int lateWait = 0;
    media::PumpResult PumpEvents(int) override { return {}; }
    void ReadKeys(uint8_t keys[256]) override { std::memset(keys, 0, 256); }
    uint32_t NowMillis() override { return *clock_; }
    void SleepMillis(uint32_t ms) override {
        *clock_ += ms;
        ++*sleeps_;
    }
    bool AcquireInstanceLock(const std::string&) override { return true; }
    void ReleaseInstanceLock() override {}
    int OpenAudio(int, media::AudioCallback, void*) override { return 0; }
    void CloseAudio() override {}

private:
    void NextBlank() { *clock_ = (*clock_ / 16 + 1) * 16; }
    uint32_t* clock_;
    std::vector<uint32_t>* presents_;
    int* sleeps_;
    int waits_ = 0;
};

TEST(FlipPacing, MeasuresThePeriodAndKeepsPresentsInSeparateRefreshes) {
    testsupport::ScratchFolder folder;
    uint32_t clock = 5;
    std::vector<uint32_t> presents;
    int sleeps = 0;
    media::UsePlatform(std::make_unique<FakeDisplay>(&clock, &presents, &sleeps));
    SetScreenMode(160, 120, 16, 60);
    ASSERT_EQ(InitMediaLayer(), 0);
    SetDrawTarget(-2);

    const std::string log = testsupport::ReadFile("Log.txt");
    EXPECT_NE(log.find(testsupport::ToSjis("１フレーム当たりの時間は 16 msecです")), std::string::npos);
    EXPECT_NE(log.find("\tTri00:16 msec"), std::string::npos);
    EXPECT_NE(log.find("\tTri03:16 msec"), std::string::npos);
    EXPECT_EQ(log.find(testsupport::ToSjis("１フレームの時間を正常に取得できませんでした")), std::string::npos);

    // m = (2 * 16 - 4) / 3 = 9 ms.
    ASSERT_EQ(FlipScreen(), 0);
    const uint32_t first = presents.back();
    clock += 3;  // a quick frame: sleep 1 ms at a time until 9 ms have passed
    sleeps = 0;
    FlipScreen();
    EXPECT_EQ(sleeps, 6);
    EXPECT_EQ(presents.back(), first + 16);
    clock += 12;  // a slow frame: no sleep, straight to the next blank
    sleeps = 0;
    FlipScreen();
    EXPECT_EQ(sleeps, 0);
    EXPECT_EQ(presents.back(), first + 32);
    clock += 30;  // slower than a refresh: the present lands in the next free one
    FlipScreen();
    EXPECT_EQ(presents.back(), first + 64);

    EndMediaLayer();
    media::headless::Install(true);
}

TEST(FlipPacing, OneLateTrialDoesNotSkewThePeriod) {
    testsupport::ScratchFolder folder;
    uint32_t clock = 0;
    std::vector<uint32_t> presents;
    int sleeps = 0;
    auto display = std::make_unique<FakeDisplay>(&clock, &presents, &sleeps);
    display->lateWait = 3;  // the second trial takes 32 ms
    media::UsePlatform(std::move(display));
    SetScreenMode(160, 120, 16, 60);
    ASSERT_EQ(InitMediaLayer(), 0);
    const std::string log = testsupport::ReadFile("Log.txt");
    EXPECT_NE(log.find("\tTri01:32 msec"), std::string::npos);
    EXPECT_NE(log.find(testsupport::ToSjis("１フレーム当たりの時間は 16 msecです")), std::string::npos);
    EndMediaLayer();
    media::headless::Install(true);
}

}  // namespace
