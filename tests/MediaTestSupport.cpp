#include "MediaTestSupport.h"


#include <cstdio>
#include <fstream>
#include <sstream>

#include "media/Media.h"
#include "media/headless/HeadlessControls.h"

namespace testsupport {

void HeadlessMedia::Start(int bits) {
    folder_ = new ScratchFolder();
    media::headless::Install(true);
    media::headless::SetRandomSeed(4357);
    SetScreenMode(160, 120, bits, 60);
    SetWindowScale(2.0);
    ChangeWindowMode(1);
    ASSERT_EQ(InitMediaLayer(), 0);
    SetDrawTarget(kBackScreen);
    SetTransparentColor(255, 0, 255);
}

void HeadlessMedia::TearDown() {
    EndMediaLayer();
    SetScreenMode(640, 480, 16, 60);
    SetWindowScale(1.0);
    media::headless::ClearRandomSeed();
    delete folder_;
    folder_ = nullptr;
}

uint32_t BackPixel(int x, int y) {
    const std::vector<uint32_t> pixels = media::headless::BackScreenPixels();
    int w = 0;
    GetImageSize(kBackScreen, &w, nullptr);
    return pixels.at(static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x));
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string TestDataDir() {
    const std::filesystem::path dir = std::filesystem::path(ANAGURA_SOURCE_DIR) / ".." / "shared" / "testdata";
    if (!std::filesystem::is_directory(dir)) return {};
    return dir.string();
}

}  // namespace testsupport
