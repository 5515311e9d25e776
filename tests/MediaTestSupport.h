// Shared helpers of the media-layer tests: a headless media layer in a scratch
// working folder, small picture files written on the fly, Shift-JIS text.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

// A scratch folder that becomes the working folder for the test's lifetime.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
};

// Headless media layer, 160 x 120 x `bits`, drawing to the back screen, magenta
// transparent, virtual clock, in a scratch working folder.
class HeadlessMedia : public ::testing::Test {
protected:
    void SetUp() override { Start(16); }
    void TearDown() override;
    void Start(int bits);

    ScratchFolder* folder_ = nullptr;
};

// 0xRRGGBB of the back screen at (x, y).
uint32_t BackPixel(int x, int y);

// Writes a 24-bit bottom-up BMP of 0xRRGGBB pixels (top row first in `pixels`).
void WriteBmp24(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels);

// The whole content of a file ("" when missing).
std::string ReadFile(const std::string& path);

// UTF-8 to Shift-JIS (code page 932) through iconv.
std::string ToSjis(const std::string& utf8);

// Folder of the shared test data, or "" when absent.
std::string TestDataDir();

}  // namespace testsupport
