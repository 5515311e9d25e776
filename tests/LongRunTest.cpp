// Long runs of the real main loop with random play: after every frame the game
// must hold together (see GameInvariants.h). Deterministic: the keys come from a
// seeded generator and the media layer's clock is virtual.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "GameInvariants.h"
#include "GameTestSupport.h"
#include "app/MainLoop.h"
#include "title/TitleScene.h"

namespace rulestest {
namespace {

struct Profile {
    uint32_t seed;
    double changeChance;  // chance per frame that the keys change
    int weightZ;          // weights of the keys pressed next: decide, cancel, arrows
    int weightX;
    int weightArrow;
};

constexpr int kEscape = 1;

struct RunCounts {
    GameInvariants checks;
    int titleFrames = 0;
};

void LongRun(const Profile& profile, int frames, RunCounts& counts) {
    gametest::WorkFolder folder(true, profile.seed);  // the assets when present; Data/KeyData.dat gives the keys
    if (!std::filesystem::exists("Data/KeyData.dat")) {
        std::filesystem::create_directories("Data");
        const int32_t codes[] = {6,
                                 gametest::kKeyUp,
                                 gametest::kKeyDown,
                                 gametest::kKeyRight,
                                 gametest::kKeyLeft,
                                 gametest::kKeyZ,
                                 gametest::kKeyX};
        std::ofstream("Data/KeyData.dat", std::ios::binary).write(reinterpret_cast<const char*>(codes), sizeof codes);
    }
    std::mt19937 rng(profile.seed);
    const int keys[] = {gametest::kKeyZ,    gametest::kKeyX,    gametest::kKeyUp,
                        gametest::kKeyDown, gametest::kKeyLeft, gametest::kKeyRight};
    std::discrete_distribution<int> pick({double(profile.weightZ), double(profile.weightX),
                                          double(profile.weightArrow), double(profile.weightArrow),
                                          double(profile.weightArrow), double(profile.weightArrow)});
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    bool failed = false;

    MainLoopOptions loop;
    loop.beforeFrame = [&](int frame) {
        if (frame + 1 >= frames || failed) {
            media::headless::SetKeyDown(kEscape, true);  // the loop ends after this frame
            return;
        }
        if (chance(rng) >= profile.changeChance) return;
        media::headless::ReleaseAllKeys();
        if (chance(rng) < 0.5) media::headless::SetKeyDown(keys[pick(rng)], true);
    };
    loop.afterFrame = [&](int frame, CScene& scene) {
        if (auto* game = dynamic_cast<CGameScene*>(&scene)) {
            if (!failed && !counts.checks.Check(*game, static_cast<uint64_t>(frame) + 1)) failed = true;
        } else {
            counts.checks.Leave();
            ++counts.titleFrames;
        }
    };
    RunMainLoop(loop);
    media::headless::ReleaseAllKeys();
    gametest::Snapshot();
    gametest::Snapshot();
}

TEST(LongRun, RandomPlayHoldsTogether) {
    RunCounts counts;
    LongRun({11, 0.2, 3, 1, 4}, 40000, counts);
    const GameInvariants& c = counts.checks;
    EXPECT_GT(c.orders_, 10);
    EXPECT_GT(c.raids_, 3);
    EXPECT_GT(c.maxDay_, 20);
    std::printf("random play: %d games, %d orders, %d raids, %d victories, %d defeats, day %d\n", c.games_, c.orders_,
                c.raids_, c.victories_, c.defeats_, c.maxDay_);
}

TEST(LongRun, DecisivePlayHoldsTogether) {
    RunCounts counts;
    LongRun({22, 0.35, 6, 1, 2}, 35000, counts);
    const GameInvariants& c = counts.checks;
    EXPECT_GT(c.orders_, 10);
    EXPECT_GT(c.raids_, 3);
    std::printf("decisive play: %d games, %d orders, %d raids, %d victories, %d defeats, day %d\n", c.games_,
                c.orders_, c.raids_, c.victories_, c.defeats_, c.maxDay_);
}

TEST(LongRun, RestlessPlayHoldsTogether) {
    RunCounts counts;
    LongRun({33, 0.6, 2, 2, 3}, 30000, counts);
    const GameInvariants& c = counts.checks;
    EXPECT_GT(c.raids_, 3);
    std::printf("restless play: %d games, %d orders, %d raids, %d victories, %d defeats, day %d\n", c.games_,
                c.orders_, c.raids_, c.victories_, c.defeats_, c.maxDay_);
}

}  // namespace
}  // namespace rulestest
