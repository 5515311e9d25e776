// The recorded-game lines of a replay input script: what the game writes reads back,
// ordinary scripts are left alone, and a malformed line is refused with its number.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "app/LastGame.h"
#include "app/RecordedGame.h"

namespace {

TEST(RecordedGame, WhatIsWrittenReadsBackAndOrdinaryScriptsAreNoRecordedGames) {
    const std::string script = app::RecordedGameHeader(4294967295u, {200, -1, 300, 28}, {1, 44}) +
                               "40 44\n41\n# a note\n# keysake 3\n# frames 1234\n";
    EXPECT_EQ(script.substr(0, script.find("40 44")),
              "# seed 4294967295\n# keys 200 -1 300 28\n# down-at-start 1 44\n");
    app::RecordedGame game;
    std::string error;
    ASSERT_TRUE(app::ParseRecordedGame(script, game, error)) << error;
    EXPECT_TRUE(game.recorded);
    EXPECT_EQ(game.seed, 4294967295u);
    ASSERT_TRUE(game.keyCodes);
    EXPECT_EQ(*game.keyCodes, (std::vector<int32_t>{200, -1, 300, 28}));
    EXPECT_EQ(game.downAtStart, (std::vector<int>{1, 44}));
    EXPECT_EQ(game.frames, 1234u);

    // No key file codes at all, Windows line ends, no end written.
    ASSERT_TRUE(app::ParseRecordedGame("# seed 0\r\n# keys\r\n", game, error)) << error;
    EXPECT_TRUE(game.recorded);
    ASSERT_TRUE(game.keyCodes);
    EXPECT_TRUE(game.keyCodes->empty());
    EXPECT_FALSE(game.frames);

    for (const char* plain : {"", "# keys 1 2\n40 44\n", "40 44\n# seed 5\n", "#seed 3\n"}) {
        ASSERT_TRUE(app::ParseRecordedGame(plain, game, error)) << plain;
        EXPECT_FALSE(game.recorded) << plain;
        EXPECT_FALSE(game.keyCodes) << plain;
    }
}

TEST(RecordedGame, AMalformedOrRepeatedLineIsRefusedWithItsNumber) {
    const struct {
        const char* script;
        int line;
    } cases[] = {
        {"# seed 5x\n# keys y\n", 1},
        {"# seed 1 2\n", 1},
        {"# seed -1\n", 1},
        {"# seed 1\n# keys 44 x\n", 2},
        {"# seed 1\n# keys +44\n", 2},
        {"# seed 1\n# keys 2147483648\n", 2},
        {"# seed 1\n\n# keys 1\n# keys 2\n", 4},
        {"# seed 1\n# seed 1\n", 2},
        {"# seed 1\n# down-at-start 0\n", 2},
        {"# seed 1\n# down-at-start 256\n", 2},
        {"# seed 1\n# down-at-start\n", 2},
        {"# seed 1\n# frames\n", 2},
        {"# seed 1\n# frames 5 6\n", 2},
        {"# seed 1\n40 44\n# frames -5\n", 3},
        {"# seed 1\n# frames 1\n# frames 1\n", 3},
        {"# seed 1\n# frames 4294967297\n", 2},
        {"# seed 1\n# keys-from\n", 2},
        {"# seed 1\n# keys-from 0 44\n", 2},
        {"# seed 1\n# keys-from 4294967297 44\n", 2},
        {"# seed 1\n# keys-from 9 x\n", 2},
        {"# seed 1\n# keys-from 9 44\n# keys-from 9 45\n", 3},
    };
    for (const auto& c : cases) {
        app::RecordedGame game;
        std::string error;
        EXPECT_FALSE(app::ParseRecordedGame(c.script, game, error)) << c.script;
        EXPECT_EQ(error.rfind("line " + std::to_string(c.line) + ": ", 0), 0u) << c.script << " -> " << error;
        EXPECT_FALSE(game.recorded) << c.script;
    }
}


// The last game read back to be continued: Escape (which only ends a run) left
// out, the recording to go on with ends on its last frame with its changes of
// the key codes where they were (CR LF line ends read as LF); a damaged one
// (longer than 2^32 frames too), one of another version or other data is
// refused with its reason. Other keys than the player's are no reason.
TEST(RecordedGame, LastGameContinuesOnlyWhenItMatchesTheGameAsItIsNow) {
    testsupport::ScratchFolder folder;
    const std::string stamp = app::LastGameStamp("1.0");
    const std::vector<int32_t> keys = {200, 208, 205, 203, 44, 45};
    const std::string path = app::LastGameFilesIn(folder.Path()).current;
    auto read = [&](const std::string& bytes, app::ContinuedGame& game, std::string& reason) {
        std::ofstream(path, std::ios::binary) << bytes;
        return app::ReadLastGame(path, stamp, game, reason);
    };
    const std::string header = app::RecordedGameHeader(7, keys, {}) + stamp;
    app::ContinuedGame game;
    std::string reason;
    ASSERT_EQ(read(header + "40 44\n41\n90 1 208\n# frames 90\n", game, reason), app::LastGameRead::Continue);
    EXPECT_EQ(game.frames, 90u);
    EXPECT_EQ(app::ContinuedRecording(game, stamp), header + "40 44\n41\n90 208\n");
    ASSERT_EQ(read(header + "40 44\n4", game, reason), app::LastGameRead::Continue);  // cut in its last line
    EXPECT_EQ(app::ContinuedRecording(game, stamp), header + "40 44\n");
    const std::string keysChanged = header + "40 44\n# keys-from 60 17 31 32 30 44 45\n60\n90\n";
    ASSERT_EQ(read(keysChanged + "# frames 95\n", game, reason), app::LastGameRead::Continue) << reason;
    EXPECT_EQ(app::ContinuedRecording(game, stamp), keysChanged + "95\n");
    EXPECT_EQ(app::KeyCodesAt(game, 59), keys);
    EXPECT_EQ(app::KeyCodesAt(game, 60), (std::vector<int32_t>{17, 31, 32, 30, 44, 45}));
    std::string crlf;
    for (char c : keysChanged) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    ASSERT_EQ(read(crlf, game, reason), app::LastGameRead::Continue) << reason;
    EXPECT_EQ(app::ContinuedRecording(game, stamp), keysChanged);
    ASSERT_EQ(read("# seed 7\n# keys 1 2\n" + stamp + "9\n", game, reason), app::LastGameRead::Continue);

    const std::pair<std::string, std::string> bad[] = {
        {header + "40 44\n30\n", "damaged"},
        {header + "50 44\n# frames 40\n", "damaged"},
        {header + "# keys-from 50 1\n# frames 40\n", "damaged"},
        {header + "99999999999 44\n", "damaged"},
        {header + "# frames 99999999999999\n", "damaged"},
        {app::RecordedGameHeader(7, keys, {}) + "# version 0.0\n", "another version"},
        {app::RecordedGameHeader(7, keys, {}) + stamp.substr(0, stamp.find("# data")) + "# data 0\n",
         "other game data"},
        {"40 44\n", "not a recorded game"},
    };
    for (const auto& [bytes, why] : bad) {
        EXPECT_EQ(read(bytes, game, reason), app::LastGameRead::Bad) << bytes;
        EXPECT_NE(reason.find(why), std::string::npos) << reason;
    }
    EXPECT_EQ(read(header, game, reason), app::LastGameRead::Nothing);
    std::filesystem::remove(path);
    EXPECT_EQ(app::ReadLastGame(path, stamp, game, reason), app::LastGameRead::Nothing);
    std::filesystem::create_directory(path);
    EXPECT_EQ(app::ReadLastGame(path, stamp, game, reason), app::LastGameRead::Bad);
}

}  // namespace
