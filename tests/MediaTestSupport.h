// Shared helpers of the media-layer tests: a headless media layer in a scratch
// working folder, reading files and the back screen, Shift-JIS text.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "SjisTestText.h"

namespace testsupport {

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

// The whole content of a file ("" when missing).
std::string ReadFile(const std::string& path);

// UTF-8 to Shift-JIS (code page 932).
using testtext::ToSjis;

// Folder of the shared test data, or "" when absent.
std::string TestDataDir();

}  // namespace testsupport
