// Screenshots of the title and of the game scene's first command-menu frame,
// compared pixel for pixel with reviewed pictures under tests/screenshots/.
// They are compared only when the font the game finds and the picture files are
// the ones they were made with (tests/screenshots/made-with.txt): a new font or
// new artwork asks for new reviewed pictures, not for a code fix.
// ANAGURA_UPDATE_SCREENSHOTS=1 writes new pictures (to be reviewed) instead.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "CannotRun.h"
#include "GameTestSupport.h"
#include "game/rules/state/GameData.h"
#include "game/rules/scene/GameScene.h"
#include "media/text/FontFinder.h"
#include "media/video/PngFile.h"
#include "title/TitleScene.h"

namespace {

namespace fs = std::filesystem;

fs::path ShotFolder() { return fs::path(ANAGURA_SOURCE_DIR) / "tests" / "screenshots"; }

bool Updating() {
    const char* v = std::getenv("ANAGURA_UPDATE_SCREENSHOTS");
    return v && std::string(v) == "1";
}

// "<file name> <size in bytes>" of the font the 8-pixel game text is drawn with.
std::string FontSignature() {
    media::FontRequest request;
    request.faceUtf8 = "MS ゴシック";
    request.pixelSize = 8;
    request.weight = 200;
    const auto file = media::FindFontFile(request);
    if (!file) return "none";
    std::error_code ec;
    const auto size = fs::file_size(file->path, ec);
    return fs::path(file->path).filename().string() + " " + std::to_string(ec ? 0 : size);
}

// FNV-1a over the names and bytes of the picture files, in name order.
std::string PicturesSignature() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(gametest::SourceAssets() / "image")) {
        if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    uint64_t h = 1469598103934665603ull;
    auto mix = [&h](unsigned char c) {
        h ^= c;
        h *= 1099511628211ull;
    };
    for (const auto& f : files) {
        for (char c : f.filename().string()) mix(static_cast<unsigned char>(c));
        std::ifstream in(f, std::ios::binary);
        char buffer[4096];
        while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
            for (std::streamsize i = 0; i < in.gcount(); ++i) mix(static_cast<unsigned char>(buffer[i]));
        }
    }
    std::ostringstream out;
    out << "pictures " << std::hex << h;
    return out.str();
}

std::string MadeWith() { return "font " + FontSignature() + "\n" + PicturesSignature(); }

std::string ReadText(const fs::path& p) {
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    std::string t = s.str();
    while (!t.empty() && (t.back() == '\n' || t.back() == '\r')) t.pop_back();
    return t;
}

// Compares the back screen with the reference picture `name`, or writes it.
void CheckShot(const std::string& name) {
    const std::vector<uint32_t> shot = media::headless::BackScreenPixels();
    ASSERT_EQ(shot.size(), 160u * 120u);
    const fs::path file = ShotFolder() / name;
    if (Updating()) {
        fs::create_directories(ShotFolder());
        ASSERT_TRUE(media::WritePng(file.string(), shot, 160, 120));
        std::ofstream(ShotFolder() / "made-with.txt") << MadeWith() << "\n";
        return;
    }
    int w = 0, h = 0;
    std::vector<uint32_t> reference;
    ASSERT_TRUE(gametest::ReadPng(file.string(), w, h, reference)) << file;
    ASSERT_EQ(w, 160);
    ASSERT_EQ(h, 120);
    int differing = 0, firstX = -1, firstY = -1;
    for (size_t i = 0; i < shot.size(); ++i) {
        if ((shot[i] & 0xFFFFFF) != reference[i]) {
            if (differing++ == 0) {
                firstX = static_cast<int>(i % 160);
                firstY = static_cast<int>(i / 160);
            }
        }
    }
    if (differing) {
        media::WritePng((fs::temp_directory_path() / ("actual-" + name)).string(), shot, 160, 120);
    }
    EXPECT_EQ(differing, 0) << name << ": first difference at (" << firstX << ", " << firstY
                            << "); the picture made is in " << fs::temp_directory_path() / ("actual-" + name);
}

class ScreenshotTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!gametest::HaveAssets()) return testsupport::CannotRun("assets/ not built yet");
        folder = std::make_unique<gametest::WorkFolder>(true, 20261207);
        if (!Updating()) {
            const std::string made = ReadText(ShotFolder() / "made-with.txt");
            const std::string here = MadeWith();
            // The pictures are ours and stale references would hide a change of
            // them; only another machine's font is a reason to skip.
            ASSERT_EQ(made.substr(made.find('\n') + 1), PicturesSignature())
                << "the pictures changed: make new references with ANAGURA_UPDATE_SCREENSHOTS=1 and review them";
            if (made != here) {
                return testsupport::CannotRun("the reference pictures were made with\n" + made +
                                              "\nbut here there are\n" + here +
                                              "\nmake new ones with ANAGURA_UPDATE_SCREENSHOTS=1 and review them");
            }
        }
        gametest::ClearKeys();
        keys = gametest::StandardKeys();
        data.ResetPlayer();
        data.FillKindTables();
    }
    void TearDown() override {
        if (folder) gametest::ClearKeys();
        folder.reset();
    }

    void Step(CScene& scene, std::initializer_list<int> down = {}) {
        gametest::Frame(down);
        ClearScreen();
        scene.Update();
        scene.Draw();
    }

    std::unique_ptr<gametest::WorkFolder> folder;
    KeyConfig keys;
    GameData data;
};

TEST_F(ScreenshotTest, Title) {
    CTitleScene scene;
    scene.Begin(&keys, &data);
    for (int f = 1; f <= 100; ++f) Step(scene);
    ASSERT_EQ(scene.state, kTitleWaiting);
    CheckShot("title.png");
}

TEST_F(ScreenshotTest, GameSceneFirstCommandMenuFrame) {
    CGameScene scene;
    scene.Begin(&keys, &data);
    // The game starts with a fade into the command menu; the first frame in
    // which the menu stands fully open is the one compared.
    int f = 0;
    while (f < 200 && !(scene.state == kStateCommandMenu && scene.fade->counter == 0)) {
        Step(scene);
        ++f;
    }
    ASSERT_EQ(scene.state, kStateCommandMenu);
    ASSERT_EQ(scene.fade->counter, 0);
    CheckShot("game-command-menu.png");
}

}  // namespace
