// Every media-layer operation runs under the process-wide operation lock; the
// clock and Sleep of the headless platform.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "MediaTestSupport.h"
#include "media/Media.h"
#include "media/core/OperationLock.h"
#include "media/headless/HeadlessControls.h"

namespace {

using MediaLock = testsupport::HeadlessMedia;

TEST_F(MediaLock, OperationsWaitWhileAnotherThreadHoldsTheLock) {
    uint8_t keys[256];
    const std::function<void()> operations[] = {
        [] { MakeColor(1, 2, 3); },
        [] { DrawRect(0, 0, 5, 5, 0, 1); },
        [] { SetBlendMode(kBlendAlpha, 20); },
        [] { SetDrawBrightness(1, 2, 3); },
        [] { GetImageSize(kBackScreen, nullptr, nullptr); },
        [&] { GetKeyStateAll(keys); },
        [] { GetNowMillis(0); },
        [] { GetRandom(5); },
        [] { ClearScreen(); },
        [] { FlipScreen(); },
        [] { ProcessMessage(); },
        [] { LoadImageFile("none.png", 0); },
        [] { DeleteImage(-1, 0); },
        [] { SetScreenMode(-1, -1, -1, -1); },
        [] { SetDrawTarget(kBackScreen); },
    };
    media::OperationLock& lock = media::TheOperationLock();
    int index = 0;
    for (const auto& operation : operations) {
        std::atomic<bool> done{false};
        lock.Lock();
        std::thread caller([&] {
            operation();
            done = true;
        });
        while (lock.WaiterCount() != 1) std::this_thread::yield();
        EXPECT_FALSE(done) << "operation " << index;
        lock.Unlock();
        caller.join();
        EXPECT_TRUE(done);
        ++index;
    }
    EXPECT_EQ(lock.HoldCount(), 0);
}

TEST_F(MediaLock, VirtualClockMovesOnlyThroughSleepAndWrapsAt32Bits) {
    const uint32_t start = GetNowMillis(0);
    EXPECT_EQ(GetNowMillis(0), start);
    Sleep(7);
    EXPECT_EQ(GetNowMillis(0), start + 7);
    Sleep(0);
    Sleep(-5);
    EXPECT_EQ(GetNowMillis(0), start + 7);
    media::headless::AdvanceClock(0u - (start + 7) - 3);
    EXPECT_EQ(GetNowMillis(0), 0xFFFFFFFDu);
    Sleep(5);
    EXPECT_EQ(GetNowMillis(0), 2u);
}

TEST(RealClock, IsMonotonicAndSleepWaits) {
    testsupport::ScratchFolder folder;
    media::headless::Install(false);
    const uint32_t a = GetNowMillis(0);
    Sleep(3);
    const uint32_t b = GetNowMillis(0);
    EXPECT_GE(b - a, 3u);
    media::headless::Install(true);
}

TEST_F(MediaLock, WindowCloseEndsProcessMessageForGood) {
    EXPECT_EQ(ProcessMessage(), 0);
    media::headless::RequestQuit();
    EXPECT_EQ(ProcessMessage(), -1);
    EXPECT_EQ(ProcessMessage(), -1);
}

TEST_F(MediaLock, StartUpLogLinesAndUnmeasuredRefresh) {
    const std::string log = testsupport::ReadFile("Log.txt");
    const auto at = [&](const char* utf8) { return log.find(testsupport::ToSjis(utf8)); };
    ASSERT_NE(at("ChangeWindowMode実行 \n"), std::string::npos);
    ASSERT_NE(at("ソフトの二重起動検査... "), std::string::npos);
    ASSERT_NE(at("二重起動はされていませんでした\n"), std::string::npos);
    EXPECT_LT(at("ソフトの二重起動検査... "), at("二重起動はされていませんでした\n"));
    // The headless platform has no vertical blank.
    EXPECT_NE(at("１フレームの時間を正常に取得できませんでした\n"), std::string::npos);
    // Entries start with the milliseconds since the start.
    EXPECT_EQ(log.rfind("0:", 0), 0u);
}

}  // namespace
