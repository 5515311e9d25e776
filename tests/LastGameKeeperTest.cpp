// The last game as the game keeps it: through a full disk, past what stands in
// the way of setting a damaged one aside, from a file saved elsewhere, with
// keys changed while playing; every game kept plays again as it was played.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "GameTestSupport.h"
#include "KeeperRun.h"
#include "app/KeptState.h"
#include "app/LastGame.h"

namespace {

namespace fs = std::filesystem;

const std::map<uint64_t, int> kPresses = {{40, 44},  {300, 205}, {310, 208}, {320, 208},
                                          {330, 44}, {700, 203}, {710, 200}, {720, 200}};
const app::LastGameFiles kFiles = app::LastGameFilesIn("player");

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

gametest::KeeperRun Played(uint64_t until, std::function<void(uint64_t)> atFrame = {}) {
    gametest::KeeperRun run;
    run.presses = kPresses;
    run.until = until;
    run.atFrame = std::move(atFrame);
    gametest::Play(run);
    return run;
}

// The trace anagura-replay gives of a recording, frames `first` to `last`.
std::string Replayed(const std::string& recording, uint64_t first, uint64_t last) {
    const fs::path tool = fs::read_symlink("/proc/self/exe").parent_path() / "anagura-replay";
    const std::string command = tool.string() + " --data . --input " + recording + " --frames " +
                                std::to_string(last) + " --trace replayed.jsonl > replayed.out 2>&1";
    if (std::system(command.c_str()) != 0) return "the replay failed: " + Read("replayed.out");
    std::istringstream lines(Read("replayed.jsonl"));
    std::string line, trace;
    for (uint64_t frame = 1; std::getline(lines, line); ++frame)
        if (frame >= first) trace += line + "\n";
    return trace;
}

class LastGame : public ::testing::Test {
protected:
    void SetUp() override {
        if (!gametest::HaveAssets()) GTEST_SKIP() << "the source tree's assets are missing";
    }
    gametest::WorkFolder folder;
};

TEST_F(LastGame, AGameThatCannotBeWrittenIsToldOnceAndWrittenWhenItCanBe) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full to stand for a full disk";
    Played(1200);
    const std::string whole = Read(kFiles.current);
    fs::remove_all("player");
    fs::create_directories("player");
    fs::create_symlink("/dev/full", kFiles.ended);  // every write fails as on a full disk
    testing::internal::CaptureStderr();
    Played(1200, [](uint64_t frame) {
        if (frame == 600) fs::remove(kFiles.ended);  // space again
    });
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Count(said, "cannot keep the game in"), 1u) << said;
    EXPECT_EQ(Count(said, "the game is kept again in"), 1u) << said;
    EXPECT_EQ(Read(kFiles.current), whole);
    EXPECT_FALSE(fs::exists(fs::symlink_status(kFiles.ended)));
}

TEST_F(LastGame, ADamagedOneIsSetAsideOrSaidNotToBe) {
    fs::create_directories(fs::path(kFiles.current) / "inside");
    std::ofstream(kFiles.bad) << "an older one";
    const std::string leftover = kFiles.ended + ".AbC123";  // a temporary copy left by a kill
    std::ofstream(leftover) << "part";
    fs::last_write_time(leftover, fs::file_time_type::clock::now() - std::chrono::hours(1));
    gametest::KeeperRun run;
    run.continued = true;
    run.until = 5;
    testing::internal::CaptureStderr();
    gametest::Play(run);
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("it is kept as " + kFiles.bad), std::string::npos) << said;
    EXPECT_TRUE(fs::is_directory(kFiles.bad));
    EXPECT_FALSE(fs::exists(kFiles.current));
    EXPECT_FALSE(fs::exists(leftover));

    // Too long to be a game; set aside where a folder that cannot go stands in the way.
    std::ofstream(kFiles.current) << "# seed 1\n# keys\n# frames 99999999999999\n";
    testing::internal::CaptureStderr();
    gametest::Play(run);
    said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("it is damaged"), std::string::npos) << said;
    EXPECT_NE(said.find("it cannot be set aside"), std::string::npos) << said;
    EXPECT_EQ(said.find("it is kept as"), std::string::npos) << said;
}

// A game saved elsewhere with other keys (decide on Return) becomes the last
// game and goes on with the player's keys (decide on Z) after its last frame;
// keys changed while playing are kept at the frame they take effect. The
// replay of the last game plays what was played.
TEST_F(LastGame, AGameFromElsewhereAndKeysChangedGoOnAsTheyWerePlayed) {
    Played(1000, [](uint64_t frame) {
        if (frame == 200) ChangeKeys({200, 208, 205, 203, 28, 45});
    });
    const std::string saved = Read(kFiles.current);
    EXPECT_NE(saved.find("# keys-from 200 200 208 205 203 28 45\n"), std::string::npos) << saved;
    std::ofstream("saved.txt", std::ios::binary) << saved;
    std::ofstream("broken.txt") << "# seed 1\nnot a game\n";
    fs::remove(kFiles.current);

    gametest::KeeperRun run;
    run.continued = true;
    run.from = "broken.txt";
    run.until = 3;
    testing::internal::CaptureStderr();
    gametest::Play(run);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("cannot continue broken.txt: it is damaged"), std::string::npos) << said;
    EXPECT_NE(said.find("the last game kept is left as it was"), std::string::npos) << said;

    run = gametest::KeeperRun{};
    run.continued = true;
    run.from = "saved.txt";
    run.liveFrames = 300;
    run.presses = {{1100, 44}, {1102, 203}, {1150, 44}};  // Z decides now: the command menu acts
    gametest::Play(run);
    EXPECT_EQ(run.firstLive, 1001u);
    const std::string kept = Read(kFiles.current);
    EXPECT_NE(kept.find("\n# keys-from 1001 200 208 205 203 44 45\n1001\n"), std::string::npos) << kept;
    EXPECT_EQ(Replayed(kFiles.current, 1001, 1300), run.trace);
    EXPECT_NE(run.trace.find("\"state\":2,"), std::string::npos);  // Z opened the colours of an order
}

}  // namespace
