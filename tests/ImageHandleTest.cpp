// Image handles: validation, reuse refusal, cutting into cells, failures and their log lines.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "MediaTestSupport.h"
#include "media/video/BmpWriter.h"
#include "media/core/HandleTable.h"
#include "media/core/Log.h"
#include "media/Media.h"

namespace {

using testsupport::ReadFile;
using testsupport::ToSjis;

class Images : public testsupport::HeadlessMedia {
protected:
    // 8 x 4 picture of 2 x 2 cells; cell (cx, cy) has colour (cx*40, cy*80, 7) everywhere.
    void WriteGrid(const std::string& path) {
        std::vector<uint32_t> pixels;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 8; ++x)
                pixels.push_back(static_cast<uint32_t>((x / 2) * 40) << 16 |
                                 static_cast<uint32_t>((y / 2) * 80) << 8 | 7u);
        media::WriteBmp(path, pixels, 8, 4);
    }
    // The colour the image draws at its top-left pixel, read back through the screen.
    uint32_t FirstPixel(int handle) {
        SetBlendMode(kBlendNone, 0);
        SetDrawBrightness(255, 255, 255);
        DrawImage(0, 0, handle, 0);
        return testsupport::BackPixel(0, 0);
    }
};

TEST(HandleTable, RefusesStaleAndForgedHandles) {
    media::HandleTable<int> table(media::HandleType::Image, 2);
    const int a = table.Add(std::make_unique<int>(1));
    const int b = table.Add(std::make_unique<int>(2));
    EXPECT_EQ(table.Add(std::make_unique<int>(3)), -1);  // full
    ASSERT_NE(table.Remove(a), nullptr);
    const int c = table.Add(std::make_unique<int>(4));  // reuses a's slot
    EXPECT_EQ(c & media::kHandleSlotMask, a & media::kHandleSlotMask);
    EXPECT_NE(c, a);
    EXPECT_EQ(table.Find(a), nullptr);
    EXPECT_EQ(*table.Find(c), 4);
    EXPECT_EQ(table.Remove(a), nullptr);
    EXPECT_EQ(*table.Find(c), 4);
    // Wrong type tag, negative, slot out of range, wrong check value.
    const int asSound =
        (b & ~(0xF << media::kHandleTypeShift)) | (int{media::HandleType::Sound == media::HandleType::Sound} << 28);
    EXPECT_EQ(table.Find(asSound), nullptr);
    EXPECT_EQ(table.Find(-1), nullptr);
    EXPECT_EQ(table.Find(b | 0x7FFF), nullptr);
    EXPECT_EQ(table.Find(b ^ (1 << media::kHandleCheckShift)), nullptr);
    EXPECT_EQ(*table.Find(b), 2);
}

TEST(HandleTable, VisitsExactlyTheLiveEntries) {
    media::HandleTable<int> table(media::HandleType::Sound, 64);
    std::vector<int> handles;
    for (int i = 0; i < 10; ++i) handles.push_back(table.Add(std::make_unique<int>(i)));
    for (int i : {0, 9, 4, 5}) table.Remove(handles[static_cast<size_t>(i)]);
    std::vector<int> seen;
    table.ForEach([&](int32_t handle, int& value) {
        EXPECT_EQ(table.Find(handle), &value);
        seen.push_back(value);
    });
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 6, 7, 8}));
    EXPECT_EQ(table.Count(), 6);
    table.Clear();
    EXPECT_EQ(table.Count(), 0);
    table.ForEach([&](int32_t, int&) { ADD_FAILURE() << "visited after Clear"; });
    EXPECT_EQ(table.Find(handles[1]), nullptr);
}

TEST_F(Images, FreedAndForgedHandlesAreRefusedEverywhere) {
    WriteGrid("grid.bmp");
    const int handle = LoadImageFile("grid.bmp", 0);
    ASSERT_GT(handle, 0);
    EXPECT_EQ((handle >> 27) & 0xF, 1);  // image type tag
    int w = 0, h = 0;
    EXPECT_EQ(GetImageSize(handle, &w, &h), 0);
    EXPECT_EQ(w, 8);
    EXPECT_EQ(h, 4);
    EXPECT_EQ(DeleteImage(handle, 0), 0);
    for (int bad : {handle, -1, 0, handle ^ (1 << 16), (2 << 27) | (handle & 0x07FFFFFF), handle | 0x7FFF}) {
        EXPECT_EQ(DeleteImage(bad, 0), -1) << bad;
        EXPECT_EQ(DrawImage(0, 0, bad, 0), -1) << bad;
        EXPECT_EQ(DrawImageMirrored(0, 0, bad, 0), -1) << bad;
        w = h = 77;
        EXPECT_EQ(GetImageSize(bad, &w, &h), -1) << bad;
        EXPECT_EQ(w, 77);
    }
}

TEST_F(Images, DeleteLogsTheFileNameOnlyWhenAsked) {
    WriteGrid("grid.bmp");
    DeleteImage(LoadImageFile("grid.bmp", 0), 0);
    EXPECT_EQ(ReadFile("Log.txt").find(ToSjis("グラフィック grid.bmp の削除")), std::string::npos);
    DeleteImage(LoadImageFile("grid.bmp", 0), 1);
    EXPECT_NE(ReadFile("Log.txt").find(ToSjis("グラフィック grid.bmp の削除")), std::string::npos);
}

TEST_F(Images, DividedCellsComeRowByRowAndTheRestIsLeftAlone) {
    WriteGrid("grid.bmp");
    int handles[10];
    std::fill(std::begin(handles), std::end(handles), 12345);
    ASSERT_EQ(LoadImageDivided("grid.bmp", 6, 4, 2, 2, 2, handles, 0), 0);
    for (int i = 0; i < 6; ++i) {
        ASSERT_GT(handles[i], 0);
        int w = 0, h = 0;
        GetImageSize(handles[i], &w, &h);
        EXPECT_EQ(w, 2);
        EXPECT_EQ(h, 2);
        const uint32_t expected = static_cast<uint32_t>((i % 4) * 40) << 16 | static_cast<uint32_t>((i / 4) * 80)
                                                                                  << 8;
        // Read back through the 5/6/5 screen: compare the top bits.
        EXPECT_EQ(FirstPixel(handles[i]) & 0xF8FC00, expected & 0xF8FC00) << i;
    }
    EXPECT_EQ(handles[6], 12345);
    // More asked for than the grid holds: the grid's 8 cells, the rest untouched.
    std::fill(std::begin(handles), std::end(handles), 12345);
    ASSERT_EQ(LoadImageDivided("grid.bmp", 10, 4, 2, 2, 2, handles, 0), 0);
    for (int i = 0; i < 8; ++i) EXPECT_GT(handles[i], 0);
    EXPECT_EQ(handles[8], 12345);
    EXPECT_EQ(handles[9], 12345);
    // A grid smaller than the picture takes the top-left cells.
    ASSERT_EQ(LoadImageDivided("grid.bmp", 2, 1, 2, 2, 2, handles, 0), 0);
    EXPECT_EQ(FirstPixel(handles[1]) & 0xF8FC00, 80u << 8 & 0xF8FC00);
}

TEST_F(Images, DividedRefusesBadGridsAndWritesNothing) {
    WriteGrid("grid.bmp");
    int handles[4] = {1, 2, 3, 4};
    EXPECT_EQ(LoadImageDivided("grid.bmp", 0, 4, 2, 2, 2, handles, 0), 0);
    EXPECT_EQ(LoadImageDivided("grid.bmp", -3, 4, 2, 2, 2, handles, 0), 0);
    EXPECT_EQ(LoadImageDivided("missing.bmp", 0, 4, 2, 2, 2, handles, 0), 0);  // nothing asked, nothing read
    const std::string divideFailed = ToSjis("グラフィックの分割に失敗しました in CreateDivGraphFromGraphImage\n");
    for (auto [xc, yc, cw, ch] : {std::array{4, 2, 0, 2},
                                  {4, 2, 2, -1},
                                  {0, 2, 2, 2},
                                  {4, -2, 2, 2},
                                  {5, 2, 2, 2},
                                  {4, 2, 2, 3},
                                  {1, 1, 9, 1},
                                  {0x40000000, 1, 4, 1}}) {
        const size_t before = ReadFile("Log.txt").size();
        EXPECT_EQ(LoadImageDivided("grid.bmp", 4, xc, yc, cw, ch, handles, 0), -1);
        EXPECT_NE(ReadFile("Log.txt").find(divideFailed, before), std::string::npos);
    }
    EXPECT_EQ(handles[0], 1);
    EXPECT_EQ(handles[3], 4);
}

TEST_F(Images, FailuresLogTheirLinesWithThePath) {
    EXPECT_EQ(LoadImageFile("nothing.png", 0), -1);
    EXPECT_NE(ReadFile("Log.txt").find(ToSjis("グラフィックファイル nothing.png がありません")), std::string::npos);
    media::LogLine("A line of its own");  // starts a new line after that one, and ends its own
    EXPECT_NE(ReadFile("Log.txt").find(ToSjis("がありません\n")), std::string::npos);
    EXPECT_NE(ReadFile("Log.txt").find(":A line of its own\n"), std::string::npos);
    // A directory is no picture file.
    std::filesystem::create_directory("folder.png");
    EXPECT_EQ(LoadImageFile("folder.png", 0), -1);
    EXPECT_NE(ReadFile("Log.txt").find(ToSjis("グラフィックファイル folder.png がありません")), std::string::npos);
    int handles[2];
    EXPECT_EQ(LoadImageDivided("folder.png", 2, 2, 1, 1, 1, handles, 0), -1);
    // Undecodable: the single form ends " \n", the divided form does not.
    std::ofstream("junk.bmp") << "BM this is not a picture";
    EXPECT_EQ(LoadImageFile("junk.bmp", 0), -1);
    EXPECT_NE(ReadFile("Log.txt").find(ToSjis("右記のグラフィックファイルのロードに失敗しました：junk.bmp \n")),
              std::string::npos);
    const size_t before = ReadFile("Log.txt").size();
    EXPECT_EQ(LoadImageDivided("junk.bmp", 2, 2, 1, 1, 1, handles, 0), -1);
    const std::string log = ReadFile("Log.txt").substr(before);
    const std::string line = ToSjis("右記のグラフィックファイルのロードに失敗しました：junk.bmp");
    ASSERT_NE(log.find(line), std::string::npos);
    EXPECT_EQ(log.find(line + " \n"), std::string::npos);
    std::ofstream("empty.png");
    EXPECT_EQ(LoadImageFile("empty.png", 0), -1);
}

uint32_t Crc32(const std::string& data) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : data) {
        crc ^= c;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A PNG whose header declares width x height, followed by one tiny IDAT.
void WritePngHeaderOnly(const std::string& path, uint32_t width, uint32_t height) {
    std::string out("\x89PNG\r\n\x1a\n", 8);
    auto chunk = [&](const char* type, const std::string& data) {
        const uint32_t n = static_cast<uint32_t>(data.size());
        for (int i = 3; i >= 0; --i) out += static_cast<char>(n >> (8 * i));
        std::string body = std::string(type, 4) + data;
        out += body;
        const uint32_t crc = Crc32(body);
        for (int i = 3; i >= 0; --i) out += static_cast<char>(crc >> (8 * i));
    };
    std::string ihdr;
    for (uint32_t v : {width, height})
        for (int i = 3; i >= 0; --i) ihdr += static_cast<char>(v >> (8 * i));
    ihdr += std::string("\x08\x02\x00\x00\x00", 5);
    chunk("IHDR", ihdr);
    chunk("IDAT", std::string("\x78\x9c\x03\x00\x00\x00\x00\x01", 8));
    chunk("IEND", "");
    std::ofstream(path, std::ios::binary) << out;
}

TEST_F(Images, HugeDeclaredSizesAreRefusedBeforeAllocating) {
    const std::string memory = ToSjis("右記のグラフィックファイルの格納用グラフィック領域の作成に失敗しました：");
    WritePngHeaderOnly("bomb.png", 100000, 100000);
    EXPECT_EQ(LoadImageFile("bomb.png", 0), -1);
    EXPECT_NE(ReadFile("Log.txt").find(memory + "bomb.png"), std::string::npos);
    WritePngHeaderOnly("wide.png", 20000, 1);
    EXPECT_EQ(LoadImageFile("wide.png", 0), -1);
    EXPECT_NE(ReadFile("Log.txt").find(memory + "wide.png"), std::string::npos);
    // A BMP header claiming 60000 x 60000 pixels of 24 bits.
    std::vector<uint32_t> one{0};
    media::WriteBmp("bomb.bmp", one, 1, 1);
    std::string bmp = ReadFile("bomb.bmp");
    for (int at : {18, 22}) {
        bmp[at] = static_cast<char>(60000 & 0xFF);
        bmp[at + 1] = static_cast<char>(60000 >> 8);
    }
    bmp[34] = bmp[35] = bmp[36] = bmp[37] = 0;  // no declared data size
    std::ofstream("bomb.bmp", std::ios::binary) << bmp;
    EXPECT_EQ(LoadImageFile("bomb.bmp", 0), -1);
    EXPECT_NE(ReadFile("Log.txt").find(memory + "bomb.bmp"), std::string::npos);
}

TEST_F(Images, EveryHandleIsFreedByEndMediaLayer) {
    WriteGrid("grid.bmp");
    const int handle = LoadImageFile("grid.bmp", 0);
    EndMediaLayer();
    EXPECT_EQ(GetImageSize(handle, nullptr, nullptr), -1);
    ASSERT_EQ(InitMediaLayer(), 0);
    SetDrawTarget(kBackScreen);
}

TEST_F(Images, PngAlphaBelowHalfCountsAsTransparent) {
    // Four pixels of one colour with alpha 0, 127, 128, 255.
    const uint8_t rgba[16] = {10, 20, 30, 0, 10, 20, 30, 127, 10, 20, 30, 128, 10, 20, 30, 255};
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = 4;
    image.height = 1;
    image.format = PNG_FORMAT_RGBA;
    ASSERT_TRUE(png_image_write_to_file(&image, "alpha.png", 0, rgba, 0, nullptr));
    const int handle = LoadImageFile("alpha.png", 0);
    ASSERT_GT(handle, 0);
    DrawRect(0, 0, 160, 120, MakeColor(255, 255, 255), 1);
    DrawImage(0, 0, handle, 1);
    EXPECT_EQ(testsupport::BackPixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(testsupport::BackPixel(1, 0), 0xFFFFFFu);
    EXPECT_NE(testsupport::BackPixel(2, 0), 0xFFFFFFu);
    EXPECT_NE(testsupport::BackPixel(3, 0), 0xFFFFFFu);
    DrawImage(0, 0, handle, 0);  // without the flag every pixel is drawn
    EXPECT_NE(testsupport::BackPixel(0, 0), 0xFFFFFFu);
}

}  // namespace
