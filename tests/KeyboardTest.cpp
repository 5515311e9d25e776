// Buttons, the key file and the keyboard snapshot.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "MediaTestSupport.h"
#include "app/KeyConfigFile.h"
#include "app/SystemContext.h"
#include "media/Media.h"
#include "media/headless/HeadlessControls.h"

namespace {

void WriteKeyFile(const std::vector<int32_t>& words, size_t extraBytes = 0) {
    std::filesystem::create_directories("Data");
    std::ofstream out("Data/KeyData.dat", std::ios::binary);
    for (int32_t w : words)
        for (int i = 0; i < 4; ++i) out.put(static_cast<char>(static_cast<uint32_t>(w) >> (8 * i)));
    for (size_t i = 0; i < extraBytes; ++i) out.put('\x7f');
}

class KeyFile : public ::testing::Test {
protected:
    testsupport::ScratchFolder folder_;
    KeyConfig config_;
    void SetUp() override {
        config_.keys = {1, 2, 3};
        config_.count = 3;
    }
    void ExpectUnchanged() {
        EXPECT_EQ(config_.keys, (std::vector<int32_t>{1, 2, 3}));
        EXPECT_EQ(config_.count, 3);
    }
};

TEST_F(KeyFile, ReadsCountAndCodesInFileOrder) {
    WriteKeyFile({6, 200, 208, 205, 203, 44, 45}, 3);  // trailing bytes are ignored
    EXPECT_EQ(LoadKeyConfig(config_), 0);
    EXPECT_EQ(config_.keys, (std::vector<int32_t>{200, 208, 205, 203, 44, 45}));
    EXPECT_EQ(config_.count, 6);
    WriteKeyFile({0});
    EXPECT_EQ(LoadKeyConfig(config_), 0);
    EXPECT_TRUE(config_.keys.empty());
    EXPECT_EQ(config_.count, 0);
}

TEST_F(KeyFile, BadFilesFailAndLeaveTheConfigurationAlone) {
    EXPECT_EQ(LoadKeyConfig(config_), -1);  // missing
    ExpectUnchanged();
    std::filesystem::create_directories("Data/KeyData.dat");  // a folder, not a file
    EXPECT_EQ(LoadKeyConfig(config_), -1);
    ExpectUnchanged();
    std::filesystem::remove("Data/KeyData.dat");
    for (const std::vector<int32_t>& words : std::vector<std::vector<int32_t>>{
             {6, 200, 208, 205, 203, 44},  // one code short
             {-1},                         // negative count
             {INT32_MIN, 1},
             {0x40000001, 1, 2},  // 4 x N overflows 32 bits
             {0x7FFFFFFF},
         }) {
        WriteKeyFile(words);
        EXPECT_EQ(LoadKeyConfig(config_), -1) << words[0];
        ExpectUnchanged();
    }
    std::ofstream("Data/KeyData.dat", std::ios::binary) << "\x06\x00";  // short count
    EXPECT_EQ(LoadKeyConfig(config_), -1);
    ExpectUnchanged();
    std::ofstream("Data/KeyData.dat", std::ios::binary).flush();  // empty
    EXPECT_EQ(LoadKeyConfig(config_), -1);
    ExpectUnchanged();
}

TEST(ShippedKeyFile, HoldsTheSixButtons) {
    const std::string bytes = testsupport::ReadFile(ANAGURA_SOURCE_DIR "/assets/Data/KeyData.dat");
    ASSERT_EQ(bytes.size(), 28u);
    int32_t words[7];
    std::memcpy(words, bytes.data(), 28);
    EXPECT_EQ(std::vector<int32_t>(words, words + 7), (std::vector<int32_t>{6, 200, 208, 205, 203, 44, 45}));
}

class Buttons : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSystem();
        media::headless::Install(true);
    }
    void TearDown() override { ResetSystem(); }
    // The main loop's snapshot.
    void Snapshot() {
        KeyboardState& k = *GetSystem()->keyboard;
        std::memcpy(k.previous, k.current, 256);
        GetKeyStateAll(k.current);
    }
    testsupport::ScratchFolder folder_;
};

TEST_F(Buttons, FourStatesFromTwoFrames) {
    KeyConfig config;
    config.keys = {44, 45, 44, 300, -1};
    config.keyboard = GetSystem()->keyboard.get();
    media::headless::SetKeyDown(44, true);
    Snapshot();
    EXPECT_EQ(GetButtonState(config, 0), kButtonPressed);
    EXPECT_EQ(GetButtonState(config, 2), kButtonPressed);  // same code, same state
    EXPECT_EQ(GetButtonState(config, 1), kButtonUp);
    Snapshot();
    EXPECT_EQ(GetButtonState(config, 0), kButtonHeld);
    media::headless::SetKeyDown(44, false);
    media::headless::SetKeyDown(45, true);
    Snapshot();
    EXPECT_EQ(GetButtonState(config, 0), kButtonReleased);
    EXPECT_EQ(GetButtonState(config, 1), kButtonPressed);
    Snapshot();
    EXPECT_EQ(GetButtonState(config, 0), kButtonUp);
    // Codes outside 0..255 and buttons beyond the table read as up.
    media::headless::SetKeyDown(44, true);
    Snapshot();
    EXPECT_EQ(GetButtonState(config, 3), kButtonUp);
    EXPECT_EQ(GetButtonState(config, 4), kButtonUp);
    EXPECT_EQ(GetButtonState(config, 5), kButtonUp);
    EXPECT_EQ(GetButtonState(config, 0xFFFFFFFFu), kButtonUp);
}

TEST_F(Buttons, KeyHeldSinceStartUpReadsAsHeldInTheFirstFrame) {
    media::headless::SetKeyDown(44, true);
    KeyConfig config;
    config.keys = {44};
    config.keyboard = GetSystem()->keyboard.get();  // a new context fills both arrays
    Snapshot();
    EXPECT_EQ(GetButtonState(config, 0), kButtonHeld);
}

TEST_F(Buttons, SnapshotIgnoresIndexZeroAndReportsEveryKey) {
    for (int k = 1; k < 256; ++k) media::headless::SetKeyDown(k, true);
    uint8_t keys[256];
    std::memset(keys, 9, sizeof keys);
    GetSystem();
    EXPECT_EQ(GetKeyStateAll(keys), 0);
    EXPECT_EQ(keys[0], 0);
    for (int k = 1; k < 256; ++k) ASSERT_EQ(keys[k], 1) << k;
    media::headless::ReleaseAllKeys();
    GetKeyStateAll(keys);
    for (int k = 0; k < 256; ++k) ASSERT_EQ(keys[k], 0) << k;
}

}  // namespace
