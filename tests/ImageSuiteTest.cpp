// The image loaders against real files from outside the project: PngSuite and
// BMP Suite (see the test data's README).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "CannotRun.h"
#include "MediaTestSupport.h"
#include "media/Media.h"
#include "media/video/ImageDecoder.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> FilesIn(const std::string& dir, const std::string& extension) {
    std::vector<fs::path> files;
    if (!fs::is_directory(dir)) return files;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().extension() == extension) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

media::DecodeResult Decode(const fs::path& path, media::DecodedImage& out) {
    const std::string bytes = testsupport::ReadFile(path.string());
    return media::DecodeImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out);
}

class ImageSuite : public testsupport::HeadlessMedia {
protected:
    void SetUp() override {
        data_ = testsupport::TestDataDir();
        if (data_.empty()) return testsupport::CannotRun("shared test data (../shared/testdata) not found");
        HeadlessMedia::SetUp();
    }
    // Loads through the public operation; a refusal must be -1 with a log line naming the file.
    void ExpectLoadsOrRefusesCleanly(const fs::path& file, bool mustLoad) {
        const int handle = LoadImageFile(file.c_str(), 0);
        if (handle == -1) {
            EXPECT_FALSE(mustLoad) << file;
            EXPECT_NE(testsupport::ReadFile("Log.txt").find(file.string()), std::string::npos) << file;
        } else {
            EXPECT_GT(handle, 0) << file;
            int w = 0, h = 0;
            EXPECT_EQ(GetImageSize(handle, &w, &h), 0);
            EXPECT_GT(w, 0);
            EXPECT_GT(h, 0);
            EXPECT_EQ(DrawImage(0, 0, handle, 1), 0);
            EXPECT_EQ(DeleteImage(handle, 0), 0);
        }
    }
    std::string data_;
};

TEST_F(ImageSuite, EveryValidPngLoads) {
    const auto basic = FilesIn(data_ + "/pngsuite/basic", ".png");
    const auto interlaced = FilesIn(data_ + "/pngsuite/interlaced", ".png");
    ASSERT_FALSE(basic.empty());
    for (const auto& f : basic) ExpectLoadsOrRefusesCleanly(f, true);
    for (const auto& f : interlaced) ExpectLoadsOrRefusesCleanly(f, true);
}

TEST_F(ImageSuite, DamagedPngsLoadOrFailCleanly) {
    for (const char* dir : {"/pngsuite/crashers", "/pngsuite/badpal"})
        for (const auto& f : FilesIn(data_ + dir, ".png")) ExpectLoadsOrRefusesCleanly(f, false);
}

TEST_F(ImageSuite, GoodBmpsMatchTheirReferenceRenderings) {
    std::ifstream refs(data_ + "/bmpsuite/refs.txt");
    ASSERT_TRUE(refs) << "refs.txt missing";
    std::string line;
    int compared = 0;
    while (std::getline(refs, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string bmp, png;
        fields >> bmp >> png;
        if (png == "-" || png.empty()) continue;
        const fs::path bmpPath = fs::path(data_) / "bmpsuite" / bmp;
        media::DecodedImage got, want;
        ASSERT_EQ(Decode(bmpPath, got), media::DecodeResult::Ok) << bmp;
        ASSERT_EQ(Decode(fs::path(data_) / "bmpsuite/html" / png, want), media::DecodeResult::Ok) << png;
        if (want.width != got.width || want.height != got.height) {
            // A reference drawn with the picture's pixel aspect is resampled (smoothed);
            // the suite also renders such pictures pixel for pixel under a sibling name.
            const std::string stem = png.substr(0, png.find('-'));
            for (const auto& sibling : FilesIn(data_ + "/bmpsuite/html", ".png")) {
                media::DecodedImage other;
                if (sibling.filename().string().rfind(stem + "-", 0) != 0) continue;
                if (Decode(sibling, other) != media::DecodeResult::Ok) continue;
                if (other.width == got.width && other.height == got.height) want = other;
            }
        }
        ASSERT_EQ(got.width, want.width) << bmp;
        ASSERT_EQ(got.height, want.height) << bmp;
        int mismatches = 0;
        for (int y = 0; y < want.height; ++y)
            for (int x = 0; x < want.width; ++x) {
                const uint32_t g = got.argb[static_cast<size_t>(y * got.width + x)] & 0xFFFFFF;
                const uint32_t w = want.argb[static_cast<size_t>(y * want.width + x)] & 0xFFFFFF;
                mismatches += g != w;
            }
        EXPECT_EQ(mismatches, 0) << bmp << " against " << png;
        ExpectLoadsOrRefusesCleanly(bmpPath, true);
        ++compared;
    }
    EXPECT_GE(compared, 27);
}

TEST_F(ImageSuite, BadBmpsAreRefusedWithTheLogLine) {
    const std::string failed = testsupport::ToSjis("右記のグラフィックファイルのロードに失敗しました：");
    const std::string memory =
        testsupport::ToSjis("右記のグラフィックファイルの格納用グラフィック領域の作成に失敗しました：");
    const auto bad = FilesIn(data_ + "/bmpsuite/b", ".bmp");
    ASSERT_FALSE(bad.empty());
    for (const auto& f : bad) {
        EXPECT_EQ(LoadImageFile(f.c_str(), 0), -1) << f;
        const std::string log = testsupport::ReadFile("Log.txt");
        const bool logged = log.find(failed + f.string() + " \n") != std::string::npos ||
                            log.find(memory + f.string()) != std::string::npos;
        EXPECT_TRUE(logged) << f;
    }
}

TEST_F(ImageSuite, QuestionableAndOtherBmpsLoadOrFailCleanly) {
    for (const char* dir : {"/bmpsuite/q", "/bmpsuite/x"})
        for (const auto& f : FilesIn(data_ + dir, ".bmp")) ExpectLoadsOrRefusesCleanly(f, false);
}

}  // namespace
