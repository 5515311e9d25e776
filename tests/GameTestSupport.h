// Shared helpers of the title, world and game-scene tests: the headless media
// layer, the per-frame keyboard snapshot, and a working folder holding the assets.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "ScratchFolder.h"
#include "app/input/KeyConfig.h"
#include "app/SystemContext.h"
#include "game/rules/state/GameData.h"
#include "media/Media.h"
#include "media/headless/HeadlessControls.h"
#include "resources/ImageStore.h"
#include "resources/SoundStore.h"

namespace gametest {

// DIK codes of the keys the tests press.
constexpr int kKeyUp = 200;
constexpr int kKeyDown = 208;
constexpr int kKeyRight = 205;
constexpr int kKeyLeft = 203;
constexpr int kKeyZ = 44;
constexpr int kKeyX = 45;

// (Re)starts the headless media layer the way the program does (first
// GetSystem()), with the random generator seeded with `seed`.
inline SystemContext* StartHeadless(uint32_t seed = 4357) {
    ResetSystem();
    media::headless::Install(true);
    media::headless::SetRandomSeed(seed);
    return GetSystem();
}

// The main loop's keyboard snapshot: previous = current, then read the keys.
inline void Snapshot() {
    KeyboardState& k = *GetSystem()->keyboard;
    std::memcpy(k.previous, k.current, sizeof k.current);
    GetKeyStateAll(k.current);
}

// Lets go of every key and takes two snapshots, so that no key reads as released.
inline void ClearKeys() {
    media::headless::ReleaseAllKeys();
    Snapshot();
    Snapshot();
}

// Holds the given keys down (all others up) and takes one snapshot.
inline void Frame(std::initializer_list<int> keysDown) {
    media::headless::ReleaseAllKeys();
    for (int k : keysDown) media::headless::SetKeyDown(k, true);
    Snapshot();
}

// The six buttons on the arrow keys, Z and X, read from the running context's
// key arrays (start the media layer first).
inline KeyConfig StandardKeys() {
    KeyConfig c;
    c.keys = {kKeyUp, kKeyDown, kKeyRight, kKeyLeft, kKeyZ, kKeyX};
    c.count = 6;
    c.keyboard = GetSystem()->keyboard.get();
    return c;
}

// The asset folder of the source tree.
inline std::filesystem::path SourceAssets() { return std::filesystem::path(ANAGURA_SOURCE_DIR) / "assets"; }

inline bool HaveAssets() {
    std::error_code ec;
    return std::filesystem::exists(SourceAssets() / "image" / "Number.png", ec);
}

// Makes a fresh working folder that links image/, sound/, Data/ and fonts/ of the
// source assets (when `withAssets` and they exist), enters it, and empties the
// stores so that no earlier load (or failed load) is remembered. Leaves and
// removes the folder at the end.
class WorkFolder {
public:
    explicit WorkFolder(bool withAssets = true, uint32_t seed = 4357) {
        namespace fs = std::filesystem;
        if (withAssets && HaveAssets()) {
            for (const char* sub : {"image", "sound", "Data", "fonts"}) {
                std::error_code ec;
                if (fs::exists(SourceAssets() / sub, ec))
                    fs::create_directory_symlink(SourceAssets() / sub, Path() / sub, ec);
            }
        }
        StartHeadless(seed);
        ResetStores();
    }
    ~WorkFolder() {
        ResetStores();
        ResetSystem();
        media::headless::ClearRandomSeed();
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    const std::filesystem::path& Path() const { return m_folder.Path(); }

    // Forgets every loaded picture and sound (and every remembered failure).
    static void ResetStores() {
        ImageStore::Instance()->ReleaseAll();
        SoundStore::Instance()->StopMusic();
    }

private:
    testsupport::ScratchFolder m_folder;
};

// A game-scene test: a working folder without assets, a fresh player record with
// its kind tables, and the six standard buttons.
class SceneFixture : public ::testing::Test {
protected:
    void SetUp() override {
        data.ResetPlayer();
        data.FillKindTables();
        keys = StandardKeys();
    }

    WorkFolder folder{false};
    GameData data;
    KeyConfig keys;
};

}  // namespace gametest

namespace gametest {

// Reads a PNG into 0xRRGGBB pixels; false when missing or unreadable.
bool ReadPng(const std::string& path, int& width, int& height, std::vector<uint32_t>& pixels);

}  // namespace gametest
