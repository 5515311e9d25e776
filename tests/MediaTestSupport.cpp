#include "MediaTestSupport.h"

#include <iconv.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "media/Media.h"
#include "media/headless/HeadlessControls.h"

namespace testsupport {

ScratchFolder::ScratchFolder() {
    previous_ = std::filesystem::current_path();
    std::string pattern = (std::filesystem::temp_directory_path() / "anagura-test-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const char* made = mkdtemp(buffer.data());
    path_ = made ? made : previous_;
    std::filesystem::current_path(path_);
}

ScratchFolder::~ScratchFolder() {
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void HeadlessMedia::Start(int bits) {
    folder_ = new ScratchFolder();
    media::headless::Install(true);
    media::headless::SetRandomSeed(4357);
    SetScreenMode(160, 120, bits, 60);
    SetWindowScale(2.0);
    ChangeWindowMode(1);
    ASSERT_EQ(InitMediaLayer(), 0);
    SetDrawTarget(-2);
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
    GetImageSize(-2, &w, nullptr);
    return pixels.at(static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x));
}

void WriteBmp24(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels) {
    const int stride = (width * 3 + 3) / 4 * 4;
    const uint32_t dataSize = static_cast<uint32_t>(stride * height);
    std::vector<uint8_t> out(54 + dataSize, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, static_cast<uint32_t>(out.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    out[26] = 1;
    out[28] = 24;
    put32(34, dataSize);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = out.data() + 54 + static_cast<size_t>(height - 1 - y) * static_cast<size_t>(stride);
        for (int x = 0; x < width; ++x) {
            const uint32_t p = pixels[static_cast<size_t>(y * width + x)];
            row[x * 3] = static_cast<uint8_t>(p);
            row[x * 3 + 1] = static_cast<uint8_t>(p >> 8);
            row[x * 3 + 2] = static_cast<uint8_t>(p >> 16);
        }
    }
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(out.data()),
                                                 static_cast<std::streamsize>(out.size()));
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string ToSjis(const std::string& utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return {};
    std::string in = utf8;
    std::string out(in.size() * 2 + 8, '\0');
    char* src = in.data();
    size_t srcLeft = in.size();
    char* dst = out.data();
    size_t dstLeft = out.size();
    iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    out.resize(out.size() - dstLeft);
    return out;
}

std::string TestDataDir() {
    const std::filesystem::path dir = std::filesystem::path(ANAGURA_SOURCE_DIR) / ".." / "shared" / "testdata";
    if (!std::filesystem::is_directory(dir)) return {};
    return dir.string();
}

}  // namespace testsupport
