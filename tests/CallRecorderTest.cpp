// The call recorder seen through the media layer's own operations: how images and
// sounds are named, how strings and numbers are written, what is left out.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <string>
#include <vector>

#include "MediaTestSupport.h"
#include "media/video/BmpWriter.h"
#include "media/core/CallRecorder.h"
#include "media/core/ShortestDouble.h"
#include "media/Media.h"
#include "media/sound/WavWriter.h"

namespace {

class CallRecorderTest : public testsupport::HeadlessMedia {
protected:
    void TearDown() override {
        media::StopCallRecorder();
        HeadlessMedia::TearDown();
    }
};

TEST_F(CallRecorderTest, ImagesAndSoundsAreNamedByTheLoadsThatMadeThem) {
    media::WriteBmp("sheet.bmp", std::vector<uint32_t>(8, 0x00FF00), 4, 2);
    ASSERT_TRUE(media::WriteWavFile("beep.wav", std::vector<int16_t>(2 * 480, 1000), 48000));
    media::StartCallRecorder();

    int cells[4] = {0, 0, 0, 77};
    ASSERT_EQ(LoadImageDivided("sheet.bmp", 3, 2, 2, 2, 1, cells, 0), 0);  // three of the four cells
    const int whole = LoadImageFile("sheet.bmp", 0);
    EXPECT_EQ(LoadImageFile("missing.bmp", 0), -1);
    DeleteImage(cells[1], 0);
    DrawImage(1, 2, cells[1], 1);  // freed, but its name stays
    DrawImageMirrored(3, 4, whole, 0);
    DrawImage(0, 0, cells[3], 0);  // never made by a load
    DrawImage(0, 0, -4, 0);
    const int first = LoadSound("beep.wav", 3, -1);
    const int second = LoadSound("beep.wav", 3, -1);
    const int third = LoadSound("beep.wav", 3, -1);
    DeleteSound(second, 0);
    const int fourth = LoadSound("beep.wav", 3, -1);  // the lowest number free again
    PlaySoundHandle(second, kPlayBackground, kFromTop);
    PlaySoundHandle(fourth, kPlayLoop, kFromTop);
    StopSoundHandle(third);
    SetSoundVolume(128, first);
    SetSoundVolume(0, 0);
    EXPECT_EQ(media::TakeRecordedCalls(), R"(["LoadImageDivided","sheet.bmp",3,2,2,2,1,0,0],)"
                                          R"(["LoadImageFile","sheet.bmp",0,"sheet.bmp"],)"
                                          R"(["LoadImageFile","missing.bmp",0,-1],)"
                                          R"(["DeleteImage","sheet.bmp#1",0],)"
                                          R"(["DrawImage",1,2,"sheet.bmp#1",1],)"
                                          R"(["DrawImageMirrored",3,4,"sheet.bmp",0],)"
                                          R"(["DrawImage",0,0,77,0],)"
                                          R"(["DrawImage",0,0,"front",0],)"
                                          R"(["LoadSound","beep.wav",3,-1,"beep.wav"],)"
                                          R"(["LoadSound","beep.wav",3,-1,"beep.wav@2"],)"
                                          R"(["LoadSound","beep.wav",3,-1,"beep.wav@3"],)"
                                          R"(["DeleteSound","beep.wav@2",0],)"
                                          R"(["LoadSound","beep.wav",3,-1,"beep.wav@2"],)"
                                          R"(["PlaySoundHandle","beep.wav@2",1,1],)"
                                          R"(["PlaySoundHandle","beep.wav@2",3,1],)"
                                          R"(["StopSoundHandle","beep.wav@3"],)"
                                          R"(["SetSoundVolume",128,"beep.wav"],)"
                                          R"(["SetSoundVolume",0,0])");

    {
        // A handle number that comes back from a later load takes that load's name;
        // what the layer calls while a recorded call runs is not recorded.
        media::RecordedCall call;
        call.NameImage(whole, "again.bmp", 2);
        DrawRect(0, 0, 1, 1, 0, 1);
        call.Write("DrawImage", 5, 6, media::ImageArg{whole}, 1);
    }
    DrawRect(0, 0, 1, 1, 0, 1);
    EXPECT_EQ(media::TakeRecordedCalls(), R"(["DrawImage",5,6,"again.bmp#2",1],["DrawRect",0,0,1,1,0,1])");
}

TEST_F(CallRecorderTest, StringsAreUtf8AndNumbersAreWrittenAsPassed) {
    media::StartCallRecorder();
    const std::string word = testsupport::ToSjis("ぞうしょく");
    DrawTextAt(14, 78, word.c_str(), 0xFFFF, 0);
    // A lead byte with a trail that makes no character, a byte that is no character,
    // half-width katakana, JSON's own characters, a lead byte at the very end.
    DrawTextAt(0, 0, "a\x81 b\x80\xB1\"\\\n\x82", 0xFFFFFFFFu, 7);
    DrawTextAt(0, 0, nullptr, 0, 0);
    SetDefaultFontFace(nullptr, -1);
    SetWindowScale(2.0);
    SetWindowScale(0.5);
    SetWindowScale(std::nan(""));
    SetBlendMode(kBlendAlpha, 300);
    SetDrawBrightness(-5, 0, 999);
    SetDrawTarget(kBackScreen);
    SetDrawTarget(3);
    EXPECT_EQ(media::TakeRecordedCalls(),
              "[\"DrawTextAt\",14,78,\"ぞうしょく\",65535,0],"
              "[\"DrawTextAt\",0,0,\"a\uFFFD b\uFFFD\uFF71\\\"\\\\\\u000a\uFFFD\",4294967295,7],"
              "[\"DrawTextAt\",0,0,null,0,0],"
              "[\"SetDefaultFontFace\",null,-1],"
              "[\"SetWindowScale\",2.0],[\"SetWindowScale\",0.5],[\"SetWindowScale\",null],"
              "[\"SetBlendMode\",1,300],[\"SetDrawBrightness\",-5,0,999],"
              "[\"SetDrawTarget\",\"back\"],[\"SetDrawTarget\",3]");
    media::StopCallRecorder();
    DrawRect(0, 0, 1, 1, 0, 1);
    EXPECT_EQ(media::TakeRecordedCalls(), "");
}

}  // namespace

// The browser build writes the trace's numbers without std::to_chars: the same
// text for every kind of double (short, long, tiny, huge, ties of the two notations).
TEST(ShortestDoubleTextTest, WritesWhatToCharsWrites) {
    std::vector<double> values = {2.0,   0.5,     -0.25, 1e-7,   123456.0, 1e21,    1e22, 5e-324,
                                  1e308, 0.1 + 0.2, 1e15,  1234.5, -1e-300, 100000.0, 1e16, 1.0 / 3};
    uint64_t bits = 0x9E3779B97F4A7C15u;
    for (int i = 0; i < 20000; ++i) {
        bits = bits * 6364136223846793005u + 1442695040888963407u;
        const double v = std::ldexp(static_cast<double>(bits >> 11), static_cast<int>(bits % 160) - 120);
        values.push_back(i % 2 ? v : -v);
    }
    for (double v : values) {
        char buf[40];
        EXPECT_EQ(media::ShortestDoubleText(v), std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr)) << v;
    }
}
