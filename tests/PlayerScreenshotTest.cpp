// F12 screenshots: the picture on show, at 1x and at the window's whole
// multiple, into the player's screenshot folder, never over an earlier one.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "MediaTestSupport.h"
#include "media/Media.h"
#include "media/core/PlayerPrefs.h"
#include "media/headless/HeadlessControls.h"
#include "media/video/ImageDecoder.h"
#include "media/video/Screenshot.h"

namespace {

namespace fs = std::filesystem;

std::vector<uint32_t> DecodedRgb(const fs::path& file, int& width, int& height) {
    const std::string bytes = testsupport::ReadFile(file.string());
    media::DecodedImage image;
    EXPECT_EQ(media::DecodePng(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), image),
              media::DecodeResult::Ok)
        << file;
    width = image.width;
    height = image.height;
    for (uint32_t& p : image.argb) p &= 0xFFFFFF;
    return image.argb;
}

class PlayerScreenshot : public testsupport::HeadlessMedia {
protected:
    void TearDown() override {
        media::SetPlayerPrefs({});
        HeadlessMedia::TearDown();
    }
};

TEST_F(PlayerScreenshot, SavesThePictureOnShowAtOneAndAtTheWindowsScaleUnderNewNames) {
    media::PlayerPrefs prefs;
    prefs.screenshotFolder = (folder_->Path() / "shots").string();
    media::SetPlayerPrefs(prefs);
    DrawRect(0, 0, 160, 120, MakeColor(255, 0, 0), 1);
    DrawRect(159, 119, 160, 120, MakeColor(255, 255, 255), 1);
    FlipScreen();
    DrawRect(0, 0, 160, 120, MakeColor(0, 0, 255), 1);  // drawn, not yet on show
    media::SaveScreenshot();
    media::SaveScreenshot();

    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(prefs.screenshotFolder)) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    ASSERT_EQ(files.size(), 4u);
    const std::vector<uint32_t> shown = media::headless::PresentedPixels();
    for (const fs::path& file : files) {
        const bool large = file.stem().string().ends_with("-x2");  // the window is 320 x 240
        int width = 0, height = 0;
        const std::vector<uint32_t> rgb = DecodedRgb(file, width, height);
        ASSERT_EQ(width, large ? 320 : 160) << file;
        ASSERT_EQ(height, large ? 240 : 120) << file;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(rgb[static_cast<size_t>(y * width + x)],
                          shown[static_cast<size_t>((large ? y / 2 : y) * 160 + (large ? x / 2 : x))])
                    << file << " " << x << "," << y;
    }
}

TEST(ScreenshotNames, AnEarlierShotOfTheSameSecondIsNeverOverwritten) {
    testsupport::ScratchFolder folder;
    std::tm time{};
    time.tm_year = 125;
    time.tm_mon = 0;
    time.tm_mday = 2;
    time.tm_hour = 3;
    time.tm_min = 4;
    time.tm_sec = 5;
    const std::string base = (folder.Path() / "anagura-20250102-030405").string();
    EXPECT_EQ(media::FreeScreenshotStem(folder.Path().string(), time), base);
    std::ofstream(base + ".png") << "taken";
    EXPECT_EQ(media::FreeScreenshotStem(folder.Path().string(), time), base + "-2");
    std::ofstream(base + "-2.png") << "taken";
    EXPECT_EQ(media::FreeScreenshotStem(folder.Path().string(), time), base + "-3");
}

}  // namespace
