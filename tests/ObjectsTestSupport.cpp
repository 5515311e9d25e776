#include "ObjectsTestSupport.h"

#include <cstdlib>

#include "app/SystemContext.h"
#include "media/headless/HeadlessControls.h"
#include "media/video/PngFile.h"
#include "media/sound/WavWriter.h"

namespace objtest {

void StartHeadless() {
    media::headless::Install(true);  // ends a media layer another test left running
    ResetSystem();
    GetSystem();  // a fresh context starts the media layer
}

void StopHeadless() { ResetSystem(); }

DataScratchFolder::DataScratchFolder() {
    std::filesystem::create_directory(Path() / "image");
    std::filesystem::create_directory(Path() / "sound");
}

std::vector<uint32_t> Solid(int width, int height, uint32_t colour) {
    return std::vector<uint32_t>(static_cast<size_t>(width) * height, colour);
}

void WriteWav(const std::string& path, int frames) {
    std::vector<int16_t> samples(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i) samples[static_cast<size_t>(i)] = (i / 25) % 2 == 0 ? 0x3000 : -0x3000;
    media::WriteWavFile(path, samples, 22050, 1);
}

uint32_t DigitColour(int d) {
    return (static_cast<uint32_t>(40 + d * 20) << 16) | (static_cast<uint32_t>(240 - d * 20) << 8) |
           static_cast<uint32_t>(96 + d * 8);
}

void WriteDigitSheet() {
    std::vector<uint32_t> sheet(50 * 7);
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 50; ++x) sheet[static_cast<size_t>(y) * 50 + x] = DigitColour(x / 5);
    }
    media::WritePng("image/Number.png", sheet, 50, 7);
}

std::vector<uint32_t> Screen() { return media::headless::BackScreenPixels(); }

uint32_t At(const std::vector<uint32_t>& screen, int x, int y) {
    return screen.at(static_cast<size_t>(y) * kScreenW + x);
}

bool Near(uint32_t pixel, uint32_t colour, int tolerance) {
    for (int shift = 0; shift <= 16; shift += 8) {
        const int a = static_cast<int>((pixel >> shift) & 0xFF);
        const int b = static_cast<int>((colour >> shift) & 0xFF);
        if (std::abs(a - b) > tolerance) return false;
    }
    return true;
}

int LitPixels(const std::vector<uint32_t>& screen, int x0, int y0, int x1, int y1) {
    int lit = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            if ((At(screen, x, y) & 0xFFFFFF) != 0) ++lit;
        }
    }
    return lit;
}

}  // namespace objtest

#include "media/Media.h"
#include "resources/ImageStore.h"
#include "resources/SoundStore.h"

namespace objtest {

void MediaTest::SetUp() {
    StartHeadless();
    ImageStore::Instance()->ReleaseAll();
    SoundStore::Instance()->StopMusic();
    SetDrawTarget(kBackScreen);
    ClearScreen();
}

void MediaTest::TearDown() {
    ImageStore::Instance()->ReleaseAll();
    SoundStore::Instance()->StopMusic();
    StopHeadless();
}

}  // namespace objtest
