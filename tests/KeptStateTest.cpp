// The state kept beside the last game: continuing from it gives the frames
// continuing from the whole recording gives; a state that does not match its
// game, or cannot be put back, is not used, and the run is left as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "GameTestSupport.h"
#include "KeeperRun.h"
#include "app/GameOptions.h"
#include "app/KeptState.h"
#include "app/LastGame.h"
#include "app/LastGameKeeper.h"
#include "app/MainLoop.h"
#include "app/RunState.h"
#include "app/StartKeys.h"
#include "app/StateTrace.h"
#include "app/scene/Scene.h"
#include "objects/graphics/Language.h"

namespace {

namespace fs = std::filesystem;

const std::vector<int32_t> kKeys(std::begin(app::kDefaultKeyCodes), std::end(app::kDefaultKeyCodes));

// Start a game, rest the first day, then hunt with yellow on the second.
const std::map<uint64_t, int> kPresses = {{40, 44},   {300, 205}, {310, 208}, {320, 208}, {330, 44}, {700, 203},
                                          {710, 200}, {720, 200}, {730, 208}, {740, 44},  {800, 44}};

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void Write(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

gametest::KeeperRun Played(uint64_t until) {
    gametest::KeeperRun run;
    run.presses = kPresses;
    run.until = until;
    gametest::Play(run);
    return run;
}

gametest::KeeperRun Continued(uint64_t liveFrames) {
    gametest::KeeperRun run;
    run.continued = true;
    run.liveFrames = liveFrames;
    gametest::Play(run);
    return run;
}

class KeptState : public ::testing::Test {
protected:
    void SetUp() override {
        if (!gametest::HaveAssets()) GTEST_SKIP() << "the source tree's assets are missing";
        // Pictures of its own: a test changes one.
        fs::remove(folder.Path() / "image");
        fs::copy(gametest::SourceAssets() / "image", folder.Path() / "image", fs::copy_options::recursive);
        Played(1500);
        files = app::LastGameFilesIn("player");
        state = app::KeptStatePath(files.current);
        recording = Read(files.current);
        kept = Read(state);
        ASSERT_FALSE(kept.empty()) << "no state was kept when the run ended";
    }
    // Puts the kept game back as it was after the first run, with `stateBytes` as its state.
    void Restore(const std::string& stateBytes) {
        Write(files.current, recording);
        if (stateBytes.empty()) fs::remove(state);
        else Write(state, stateBytes);
    }

    gametest::WorkFolder folder;
    app::LastGameFiles files;
    std::string state, recording, kept;
};

TEST_F(KeptState, ContinuingFromItGivesTheFramesOfTheWholeRecording) {
    const gametest::KeeperRun fromState = Continued(40);
    EXPECT_EQ(fromState.firstLive, 1501u);
    EXPECT_NE(Read("Log.txt").find("goes on from the state kept after frame 1500"), std::string::npos);

    Restore("");
    const gametest::KeeperRun played = Continued(40);
    EXPECT_EQ(played.firstLive, 1501u);
    EXPECT_EQ(fromState.trace, played.trace);

    // A damaged state, or one kept by another build, is passed over: the game is played again from its start.
    std::string damaged = kept;
    damaged[damaged.size() / 2] ^= 0x20;
    std::string otherBuild = kept;
    otherBuild.replace(otherBuild.find("# version "), 10, "# versioN ");
    for (const std::string& bad : {damaged, otherBuild, kept.substr(0, kept.size() / 3)}) {
        Restore(bad);
        const gametest::KeeperRun passedOver = Continued(40);
        EXPECT_EQ(passedOver.trace, played.trace);
        EXPECT_TRUE(fs::exists(files.current));
    }
}

TEST_F(KeptState, ItIsUsedOnlyWithTheGameAndDataItWasKeptWith) {
    const std::string stamp = app::LastGameStamp(app::GameVersion());
    auto check = [&](const std::string& recordingBytes, const std::string& stampNow) {
        app::ContinuedGame game;
        std::string reason, runState;
        uint64_t frame = 0;
        EXPECT_EQ(app::ParseLastGame(recordingBytes, stampNow, game, reason), app::LastGameRead::Continue) << reason;
        return app::ReadKeptStateFile(kept, stampNow, game, frame, runState, reason) ? "" : reason;
    };
    EXPECT_EQ(check(recording, stamp), "");
    // A line that only marks a frame changes nothing.
    const size_t lastLine = recording.rfind("\n1500\n");
    ASSERT_NE(lastLine, std::string::npos);
    EXPECT_EQ(check(recording.substr(0, lastLine + 1) + "1400\n" + recording.substr(lastLine + 1), stamp), "");
    // Another key down at some frame, or a recording that ends before the state's frame.
    std::string otherKeys = recording;
    otherKeys.replace(otherKeys.find("\n40 44\n"), 7, "\n40 45\n");
    EXPECT_NE(check(otherKeys, stamp).find("not of the game"), std::string::npos);
    EXPECT_NE(check(recording.substr(0, lastLine + 1) + "1499\n", stamp).find("not of the game"), std::string::npos);
    // Another version, other data (its stamp is in the recording too).
    std::string otherStamp = stamp;
    otherStamp.replace(otherStamp.find("# data ") + 7, 4, "0000");
    std::string otherRecording = recording;
    otherRecording.replace(otherRecording.find(stamp), stamp.size(), otherStamp);
    EXPECT_NE(check(otherRecording, otherStamp).find("another version or with other game data"), std::string::npos);
    // A picture of the same name and size with other bytes: the game goes on, but not from this state.
    std::string picture = Read("image/Flame1.bmp");
    picture[picture.size() - 1] ^= 1;
    Write("image/Flame1.bmp", picture);
    EXPECT_NE(check(recording, stamp).find("pictures have changed"), std::string::npos);
}

// Putting back a state that cannot be put back (of another language, a
// picture gone) changes nothing: the run goes on as if nothing had been tried.
TEST_F(KeptState, PuttingBackWhatCannotBeLeavesTheRunAsItWas) {
    auto play = [&](bool tryBadStates) {
        gametest::StartHeadless(7);
        MainLoopOptions loop;
        std::string trace, keptNow, reason;
        loop.beforeFrame = [&](uint64_t frame) {
            const auto press = kPresses.find(frame + 1);
            media::headless::ReleaseAllKeys();
            if (press != kPresses.end()) media::headless::SetKeyDown(press->second, true);
        };
        loop.betweenFrames = [&](LoopState& state) {
            if (!tryBadStates || state.frames == 0 || state.frames % 250 != 0) return;
            if (keptNow.empty()) {
                keptNow = app::KeepRunState(state);
                return;
            }
            CScene* scene = state.scene;
            SetGameLanguage(Language::English);
            EXPECT_FALSE(app::PutRunState(keptNow, state, reason));
            SetGameLanguage(Language::Japanese);
            fs::rename("image/yama.bmp", "image/yama.moved");
            EXPECT_FALSE(app::PutRunState(keptNow, state, reason));
            EXPECT_NE(reason.find("yama.bmp"), std::string::npos) << reason;
            fs::rename("image/yama.moved", "image/yama.bmp");
            EXPECT_FALSE(app::PutRunState(keptNow.substr(0, keptNow.size() - 1), state, reason));
            EXPECT_EQ(state.scene, scene);
            EXPECT_EQ(state.frames % 250, 0u);
        };
        loop.afterFrame = [&](uint64_t frame, CScene& scene) {
            app::AppendTrace(trace, frame + 1, scene);
            if (frame + 1 == 1200) media::headless::RequestQuit();
        };
        RunMainLoop(loop);
        gametest::WorkFolder::ResetStores();
        return trace;
    };
    EXPECT_EQ(play(true), play(false));
}

}  // namespace
