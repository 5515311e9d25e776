// Failures that used to pass in silence: an unusable key file, a sound that
// does not load, a log that cannot be written. Each is told once on stderr and
// in the log, and the game goes on.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "MediaTestSupport.h"
#include "app/StartKeys.h"
#include "media/Media.h"
#include "media/core/Log.h"
#include "media/video/PictureProblems.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ReadFile;

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

class FailureReport : public testsupport::HeadlessMedia {
protected:
    void TearDown() override {
        SetSoundDataMode(0);
        HeadlessMedia::TearDown();
    }
};

TEST_F(FailureReport, UnusableKeyFilesAreToldAndTheDefaultKeysTaken) {
    struct Case {
        const char* what;
        std::string bytes;  // the file's content; "folder" makes a folder
        const char* reason;
    };
    const std::string le6("\x06\x00\x00\x00", 4);
    const std::vector<Case> cases = {
        {"missing", "", "cannot be opened (No such file or directory)"},
        {"folder", "folder", "is a folder"},
        {"empty", "", "is empty"},
        {"short count", std::string("\x06\x00", 2), "is too short to hold its count (2 bytes)"},
        {"negative count", std::string("\xff\xff\xff\xff", 4), "gives a negative count (-1)"},
        {"huge count", std::string("\xff\xff\xff\x7f", 4) + le6, "gives a count of 2147483647 but holds 1 codes"},
        {"five codes", le6 + std::string(20, '\x2c'), "gives a count of 6 but holds 5 codes"},
    };
    fs::create_directories("Data");
    for (const Case& c : cases) {
        fs::remove_all("Data/KeyData.dat");
        if (c.bytes == "folder") fs::create_directories("Data/KeyData.dat");
        else if (std::string(c.what) != "missing") std::ofstream("Data/KeyData.dat", std::ios::binary) << c.bytes;
        KeyConfig config;
        testing::internal::CaptureStderr();
        app::LoadStartKeys(config, "Data/KeyData.dat");
        const std::string told = testing::internal::GetCapturedStderr();
        const std::string line = std::string("Data/KeyData.dat ") + c.reason + ": the default keys are used";
        EXPECT_EQ(config.keys, (std::vector<int32_t>{200, 208, 205, 203, 44, 45})) << c.what;
        EXPECT_EQ(config.count, 6) << c.what;
        EXPECT_EQ(Count(told, line), 1u) << c.what << ": " << told;
        EXPECT_EQ(Count(ReadFile("Log.txt"), "Key file " + line), 1u) << c.what;
    }
    // A usable file is taken as it is, without a word.
    std::ofstream("Data/KeyData.dat", std::ios::binary) << std::string("\x01\x00\x00\x00\x1c\x00\x00\x00", 8);
    KeyConfig config;
    testing::internal::CaptureStderr();
    app::LoadStartKeys(config, "Data/KeyData.dat");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(config.keys, (std::vector<int32_t>{28}));
}

// The buttons a key file leaves without a key the game sees, each with why.
TEST_F(FailureReport, ButtonsThatCanNeverBePressedAreToldOnceAtStart) {
    const struct {
        std::vector<int32_t> codes;
        const char* told;
    } cases[] = {
        {{200, 208, 205, 203, 44, 45, 59}, ""},  // codes beyond the six buttons are no button's
        {{200, 208, 205, 203, 59, 45}, "decide (F1 opens the help)"},
        {{0, 300, 205, 1, 44},
         "up (code 0: no key has it), down (code 300: no key has it), left (Escape ends the game), "
         "cancel (the file holds 5 codes)"},
        {{200, 208, 87, 203, 88, 15},
         "right (F11 switches fullscreen), decide (F12 takes a screenshot), "
         "cancel (Tab fast-forwards the game)"},
        {{200, 208, 205, 203, 60, 45}, "decide (F2 opens the settings)"},
    };
    for (const auto& c : cases) EXPECT_EQ(app::UnpressableButtons(c.codes), c.told);

    testing::internal::CaptureStderr();
    app::TellUnpressableButtons("Data/KeyData.dat", {200, 208, 205, 203, 59});
    app::TellUnpressableButtons("Data/KeyData.dat", {200, 208, 205, 203, 44, 45});
    const std::string line =
        "ey file Data/KeyData.dat: these buttons can never be pressed: decide (F1 opens the "
        "help), cancel (the file holds 5 codes) (anagura-keys changes them; anagura-keys reset "
        "gives the default keys)\n";
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "anagura: k" + line);
    EXPECT_EQ(Count(ReadFile("Log.txt"), "K" + line), 1u);
}

// A picture that does not load is named on stderr in readable words, once,
// with the others that failed before the next telling (the log keeps its own
// Shift-JIS line for each load).
TEST_F(FailureReport, FailedPictureLoadsAreNamedOnceByKind) {
    fs::create_directories("image/folder.bmp");
    std::ofstream("image/junk.bmp", std::ios::binary) << std::string(100, '\x55');
    std::ofstream("image/tiny.bmp", std::ios::binary) << ReadFile(ANAGURA_SOURCE_DIR "/assets/image/HeiIcon.bmp");
    media::TellPictureProblems();  // what earlier tests in this process left
    testing::internal::CaptureStderr();
    EXPECT_EQ(LoadImageFile("image/gone.bmp", 0), -1);
    EXPECT_EQ(LoadImageFile("image/folder.bmp", 0), -1);
    int cells[4] = {};
    EXPECT_EQ(LoadImageDivided("image/junk.bmp", 4, 2, 2, 8, 8, cells, 0), -1);
    EXPECT_EQ(LoadImageDivided("image/tiny.bmp", 4, 2, 2, 400, 400, cells, 0), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");  // told together, later
    testing::internal::CaptureStderr();
    media::TellPictureProblems();
    EXPECT_EQ(LoadImageFile("image/gone.bmp", 0), -1);
    media::TellPictureProblems();
    EXPECT_EQ(
        testing::internal::GetCapturedStderr(),
        "anagura: pictures image/gone.bmp, image/folder.bmp are missing: nothing is drawn in their place\n"
        "anagura: picture image/junk.bmp cannot be decoded as BMP, PNG or JPEG: nothing is drawn in its place\n"
        "anagura: picture image/tiny.bmp is smaller than the cells it is cut into: nothing is drawn in its place\n");
    EXPECT_EQ(Count(ReadFile("Log.txt"), testsupport::ToSjis("グラフィックファイル image/gone.bmp がありません")),
              2u);
}

TEST_F(FailureReport, FailedSoundLoadsNameTheFileInEveryMode) {
    struct Case {
        const char* file;
        const char* reason;
        const char* logText;  // UTF-8
    };
    fs::create_directories("sound/folder.wav");
    std::ofstream("sound/junk.mp3", std::ios::binary) << std::string(4096, '\x55');
    std::ofstream("sound/huge.mp3", std::ios::binary) << "ID3";
    fs::resize_file("sound/huge.mp3", (uintmax_t{256} << 20) + 1);  // sparse: nothing to read if refused first
    const std::vector<Case> cases = {
        {"sound/missing.wav", "cannot be read (No such file or directory)", "_1"},
        {"sound/folder.wav", "is a folder", "_1"},
        {"sound/junk.mp3", "cannot be decoded as WAV, MP3 or Ogg Vorbis", "_1"},
        {"sound/huge.mp3", "is larger than 256 MB", "_2"},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStderr();
        for (int mode = 0; mode <= 3; ++mode) {
            SetSoundDataMode(mode);
            EXPECT_EQ(LoadSound(c.file, 3, -1), -1) << c.file << " in mode " << mode;
        }
        const std::string told = testing::internal::GetCapturedStderr();
        EXPECT_EQ(told, std::string("anagura: sound ") + c.file + " " + c.reason + "\n");
        const std::string logged =
            testsupport::ToSjis(std::string("右記の音声ファイルのロードに失敗しました") + c.logText + "：") + c.file;
        EXPECT_EQ(Count(ReadFile("Log.txt"), logged), 4u) << c.file;
    }
}

TEST_F(FailureReport, AnUnwritableLogIsToldOnceAndTheGameRunsOn) {
    EndMediaLayer();
    media::SetLogFolder("no/such/folder");
    for (int start = 0; start < 2; ++start) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(InitMediaLayer(), 0);
        EXPECT_EQ(ProcessMessage(), 0);
        const std::string told = testing::internal::GetCapturedStderr();
        EXPECT_EQ(Count(told, "cannot write no/such/folder/Log.txt"), start == 0 ? 1u : 0u) << told;
        EndMediaLayer();
    }
    media::SetLogFolder("");
    EXPECT_EQ(InitMediaLayer(), 0);
}

}  // namespace
