#include "ObjectsTestSupport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "app/SystemContext.h"
#include "media/headless/HeadlessControls.h"
#include "media/video/PngFile.h"


namespace objtest {

void StartHeadless() {
    media::headless::Install(true);  // ends a media layer another test left running
    ResetSystem();
    GetSystem();  // a fresh context starts the media layer
}

void StopHeadless() { ResetSystem(); }

ScratchFolder::ScratchFolder() : m_previous(std::filesystem::current_path()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "anagura-objects-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
    std::filesystem::create_directory(m_path / "image");
    std::filesystem::create_directory(m_path / "sound");
    std::filesystem::current_path(m_path);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    std::filesystem::current_path(m_previous, ec);
    std::filesystem::remove_all(m_path, ec);
}

void WritePng(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels) {
    if (!media::WritePng(path, pixels, width, height)) throw std::runtime_error("png write failed: " + path);
}

namespace {

void Put16(std::ofstream& out, uint32_t v) {
    out.put(static_cast<char>(v & 0xFF));
    out.put(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::ofstream& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

}  // namespace

void WriteBmp(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels) {
    const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t dataBytes = rowBytes * static_cast<uint32_t>(height);
    std::ofstream out(path, std::ios::binary);
    out.write("BM", 2);
    Put32(out, 54 + dataBytes);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, static_cast<uint32_t>(height));
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);
    Put32(out, dataBytes);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        uint32_t written = 0;
        for (int x = 0; x < width; ++x) {
            const uint32_t p = pixels[static_cast<size_t>(y) * width + x];
            out.put(static_cast<char>(p & 0xFF));
            out.put(static_cast<char>((p >> 8) & 0xFF));
            out.put(static_cast<char>((p >> 16) & 0xFF));
            written += 3;
        }
        for (; written < rowBytes; ++written) out.put(0);
    }
}

std::vector<uint32_t> Solid(int width, int height, uint32_t colour) {
    return std::vector<uint32_t>(static_cast<size_t>(width) * height, colour);
}

void WriteWav(const std::string& path, int frames) {
    std::ofstream out(path, std::ios::binary);
    const uint32_t dataBytes = static_cast<uint32_t>(frames) * 2;
    out.write("RIFF", 4);
    Put32(out, 36 + dataBytes);
    out.write("WAVEfmt ", 8);
    Put32(out, 16);
    Put16(out, 1);      // PCM
    Put16(out, 1);      // mono
    Put32(out, 22050);  // rate
    Put32(out, 44100);  // bytes per second
    Put16(out, 2);      // block align
    Put16(out, 16);     // bits
    out.write("data", 4);
    Put32(out, dataBytes);
    for (int i = 0; i < frames; ++i) Put16(out, (i / 25) % 2 == 0 ? 0x3000 : 0xD000);
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
    WritePng("image/Number.png", 50, 7, sheet);
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
    SetDrawTarget(-2);
    ClearScreen();
}

void MediaTest::TearDown() {
    ImageStore::Instance()->ReleaseAll();
    SoundStore::Instance()->StopMusic();
    StopHeadless();
}

}  // namespace objtest
