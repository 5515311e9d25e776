// The main loop's frame order, exits, scene switches and shutdown, run headless.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "MediaTestSupport.h"
#include "app/FramePacer.h"
#include "app/MainLoop.h"
#include "app/StandInScene.h"
#include "app/SystemContext.h"
#include "media/Media.h"
#include "media/core/InstanceLock.h"
#include "media/core/OperationLock.h"
#include "media/headless/HeadlessControls.h"
#include "app/scene/Scene.h"

namespace {

struct Journal {
    std::vector<std::string> events;
    int alive = 0;
};

// A scene that answers NextScene from a script and writes what happens to it.
class ScriptedScene : public CScene {
public:
    ScriptedScene(Journal& journal, int id, std::vector<int> codes)
        : journal_(journal), id_(id), codes_(std::move(codes)) {
        ++journal_.alive;
        Log("new");
    }
    ~ScriptedScene() override {
        --journal_.alive;
        Log("delete");
    }
    void Begin(KeyConfig* keys, GameData* data) override {
        CScene::Begin(keys, data);
        Log("begin");
    }
    void Update() override {
        Log("update");
        CScene::Update();
    }
    void Draw() override { CScene::Draw(); }
    int NextScene() override {
        const int code = frame_ < static_cast<int>(codes_.size()) ? codes_[static_cast<size_t>(frame_)] : 0;
        ++frame_;
        return code;
    }

private:
    void Log(const std::string& what) { journal_.events.push_back(what + std::to_string(id_)); }
    Journal& journal_;
    int id_;
    std::vector<int> codes_;
    int frame_ = 0;
};

class MainLoop : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSystem();
        media::headless::Install(true);
    }
    void TearDown() override { ResetSystem(); }

    // Runs the loop; scene n (from 0) answers scripts[n]; stops after `maxFrames` by a window close.
    int Run(std::vector<std::vector<int>> scripts, int maxFrames = 100) {
        MainLoopOptions options;
        int made = 0;
        options.makeScene = [&, scripts](int code) -> CScene* {
            journal_.events.push_back("make(" + std::to_string(code) + ")");
            const size_t n = static_cast<size_t>(made);
            return new ScriptedScene(journal_, made++, n < scripts.size() ? scripts[n] : std::vector<int>{});
        };
        options.beforeFrame = [&](int frame) {
            ++frames_;
            if (frame == escapeAt_) media::headless::SetKeyDown(1, true);
            if (frame == maxFrames) media::headless::RequestQuit();
        };
        return RunMainLoop(options);
    }
    Journal journal_;
    int frames_ = 0;
    int escapeAt_ = -1;
    testsupport::ScratchFolder folder_;
};

TEST_F(MainLoop, EscapeEndsTheLoopAtTheEndOfTheFrameItIsSeenIn) {
    escapeAt_ = 3;
    EXPECT_EQ(Run({{}}), 0);
    EXPECT_EQ(frames_, 4);
    EXPECT_EQ(journal_.alive, 0);
    EXPECT_EQ(journal_.events.back(), "delete0");
}

TEST_F(MainLoop, EscapeHeldAtStartEndsAfterTheFirstFrame) {
    media::headless::SetKeyDown(1, true);
    EXPECT_EQ(Run({{}}), 0);
    EXPECT_EQ(frames_, 1);
    EXPECT_EQ(journal_.events, (std::vector<std::string>{"make(1)", "new0", "begin0", "update0", "delete0"}));
}

TEST_F(MainLoop, SceneSwitchInTheEscapeFrameIsCarriedOutThenDestroyed) {
    escapeAt_ = 0;
    EXPECT_EQ(Run({{2}}), 0);
    EXPECT_EQ(journal_.events, (std::vector<std::string>{"make(1)", "new0", "begin0", "update0", "delete0", "make(2)",
                                                         "new1", "begin1", "delete1"}));
    EXPECT_EQ(journal_.alive, 0);
}

TEST_F(MainLoop, CodesSwitchScenesOrEndTheLoop) {
    // Frame 0 stays, frame 1 asks for a title scene; the new scene asks for a game
    // scene in its second frame; the third scene ends the loop with code 3.
    EXPECT_EQ(Run({{0, 1}, {0, 2}, {0, 0, 3}}), 0);
    EXPECT_EQ(frames_, 7);
    EXPECT_EQ(journal_.events,
              (std::vector<std::string>{"make(1)", "new0", "begin0", "update0", "update0", "delete0", "make(1)",
                                        "new1", "begin1", "update1", "update1", "delete1", "make(2)", "new2",
                                        "begin2", "update2", "update2", "update2", "delete2"}));
    // A negative code ends it too, and the scene stays until shutdown.
    journal_ = Journal();
    frames_ = 0;
    EXPECT_EQ(Run({{-1}}), 0);
    EXPECT_EQ(frames_, 1);
    EXPECT_EQ(journal_.alive, 0);
}

TEST_F(MainLoop, ClosingTheWindowEndsTheLoop) {
    EXPECT_EQ(Run({{}}, 5), 0);
    EXPECT_EQ(frames_, 6);
    EXPECT_EQ(journal_.alive, 0);
}

TEST_F(MainLoop, FramesArePacedSixteenMillisecondsApartOnTheVirtualClock) {
    std::vector<uint32_t> ticks;
    MainLoopOptions options;
    options.makeScene = [&](int) -> CScene* { return new ScriptedScene(journal_, 0, {}); };
    options.afterFrame = [&](int frame, CScene&) {
        ticks.push_back(GetNowMillis(0));
        if (frame == 1) media::headless::AdvanceClock(40);  // a slow frame
        if (frame == 4) media::headless::RequestQuit();
    };
    EXPECT_EQ(RunMainLoop(options), 0);
    // Frame 0 never sleeps; frame 1 sleeps 16; frame 2 follows a 40 ms frame and
    // does not sleep; frame 3 is paced again from frame 2's tick.
    ASSERT_EQ(ticks.size(), 5u);
    EXPECT_EQ(ticks[1] - ticks[0], 16u);
    EXPECT_EQ(ticks[2] - ticks[1], 40u);
    EXPECT_EQ(ticks[3] - ticks[2], 16u);
}

TEST_F(MainLoop, TheFirstFrameIsDrawnAndShownByTheNextFlip) {
    std::vector<uint32_t> shown;
    MainLoopOptions options;
    options.afterFrame = [&](int frame, CScene&) {
        if (frame == 1) shown = media::headless::PresentedPixels();
        if (frame == 1) media::headless::RequestQuit();
    };
    // The stand-in scene paints the whole screen; frame 0's picture shows in frame 1.
    options.makeScene = [](int) -> CScene* { return new StandInScene(); };
    EXPECT_EQ(RunMainLoop(options), 0);
    ASSERT_EQ(shown.size(), 160u * 120u);
    EXPECT_NE(shown[0], 0u);
}

// A second copy in the running copy's folder: the loop is skipped, the failure
// reported, and the running copy's Log.txt left exactly as it was.
TEST_F(MainLoop, AFailedStartSkipsTheLoopAndLeavesTheRunningCopysLogAlone) {
    testsupport::ScratchFolder folder;
    const std::string name = "anagura-test-" + std::to_string(::getpid());
    media::InstanceLock first;
    ASSERT_TRUE(first.Acquire(name));
    const std::string runningLog = "0:the running copy's start-up\n25:and more\n";
    std::ofstream("Log.txt", std::ios::binary) << runningLog;
    media::headless::SetInstanceLockName(name);
    EXPECT_EQ(Run({{}}), 1);
    EXPECT_EQ(frames_, 0);
    EXPECT_EQ(journal_.alive, 0);
    EXPECT_EQ(ProcessMessage(), -1);
    EXPECT_EQ(ProcessMessage(), -1);
    ResetSystem();
    EXPECT_EQ(testsupport::ReadFile("Log.txt"), runningLog);
    media::headless::SetInstanceLockName("");
    first.Release();
    std::remove(media::InstanceLock::PathOf(name).c_str());
}

// A frame's update and draw are one batch: the media lock is held across both
// (another thread's operation cannot fall between them) and given back after.
TEST(SceneFrame, UpdateAndDrawRunUnderOneHoldOfTheMediaLock) {
    class Probe : public CScene {
    public:
        std::vector<int> holds;
        void Update() override { holds.push_back(media::TheOperationLock().HoldCount()); }
        void Draw() override { holds.push_back(media::TheOperationLock().HoldCount()); }
        int NextScene() override { return kSceneStay; }
    } probe;
    RunSceneFrame(probe);
    EXPECT_EQ(probe.holds, (std::vector<int>{1, 1}));
    EXPECT_EQ(media::TheOperationLock().HoldCount(), 0);
    EXPECT_TRUE(media::TheOperationLock().TryLock());  // free for anyone again
    media::TheOperationLock().Unlock();
}

TEST(FramePacerTest, ElapsedTimeIsUnsignedAcrossTheClockWrap) {
    testsupport::ScratchFolder folder;
    ResetSystem();
    media::headless::Install(true);
    GetSystem();
    media::headless::AdvanceClock(0xFFFFFFF0u - GetNowMillis(0));
    FramePacer pacer;
    pacer.Pace();  // first frame: no sleep
    EXPECT_EQ(GetNowMillis(0), 0xFFFFFFF0u);
    media::headless::AdvanceClock(20);  // clock wraps to 4
    EXPECT_EQ(GetNowMillis(0), 4u);
    pacer.Pace();  // 20 ms elapsed: no sleep
    EXPECT_EQ(GetNowMillis(0), 4u);
    media::headless::AdvanceClock(10);
    pacer.Pace();  // 10 ms elapsed: sleeps 6
    EXPECT_EQ(GetNowMillis(0), 20u);
    EXPECT_EQ(pacer.lastTick, 14u);
    ResetSystem();
}

}  // namespace
