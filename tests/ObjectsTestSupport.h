// Shared helpers of the display-object and store tests: a headless media layer,
// a scratch working folder with image/ and sound/, small pictures and sounds,
// and screen reading.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "ScratchFolder.h"

namespace objtest {

// Selects the headless platform and starts the media layer afresh through a new
// system context; StopHeadless() ends both.
void StartHeadless();
void StopHeadless();

// A scratch working folder holding image/ and sound/.
class DataScratchFolder : public testsupport::ScratchFolder {
public:
    DataScratchFolder();
};

// A picture of one colour.
std::vector<uint32_t> Solid(int width, int height, uint32_t colour);
// Writes a 16-bit mono PCM WAV at 22050 Hz: a square wave of `frames` samples.
void WriteWav(const std::string& path, int frames);

// Colour of digit d in the digit sheet written by WriteDigitSheet.
uint32_t DigitColour(int d);
// "image/Number.png": ten cells of 5 x 7 pixels, cell d filled with DigitColour(d).
void WriteDigitSheet();

// The back screen, 0xRRGGBB per pixel, 160 x 120.
std::vector<uint32_t> Screen();
// Pixel (x, y) of a screen read with Screen().
uint32_t At(const std::vector<uint32_t>& screen, int x, int y);
// True when every channel of `pixel` lies within `tolerance` of `colour` (the screen keeps 16 bits).
bool Near(uint32_t pixel, uint32_t colour, int tolerance = 8);
// Number of non-black pixels in the rectangle [x0, x1) x [y0, y1).
int LitPixels(const std::vector<uint32_t>& screen, int x0, int y0, int x1, int y1);

constexpr int kScreenW = 160;
constexpr int kScreenH = 120;

}  // namespace objtest

#include <gtest/gtest.h>

namespace objtest {

// Headless media layer, a scratch working folder, empty stores and a black back screen.
class MediaTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    DataScratchFolder m_folder;
};

}  // namespace objtest
