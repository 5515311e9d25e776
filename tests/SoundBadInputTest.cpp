// Broken, empty and mislabelled sound files, in both kinds of sound.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "CannotRun.h"
#include "AudioTestFiles.h"
#include "MediaTestSupport.h"
#include "media/Media.h"
#include "media/headless/HeadlessControls.h"
#include "media/sound/AudioDecoder.h"
#include "media/sound/SoundDecoding.h"
#include "media/sound/SoundSystem.h"

namespace {


class SoundBadInput : public testsupport::HeadlessMedia {
protected:
    void TearDown() override {
        HeadlessMedia::TearDown();
        SetSoundDataMode(0);
    }

    // Loads in every mode; the handles (or -1) per mode 0..3. Each loaded sound is played a little and freed.
    std::vector<int> LoadInEveryMode(const std::string& path) {
        std::vector<int> results;
        for (int mode = 0; mode <= 3; ++mode) {
            SetSoundDataMode(mode);
            const int h = LoadSound(path.c_str(), 3, -1);
            results.push_back(h);
            if (h > 0) {
                PlaySoundHandle(h, kPlayLoop, kFromTop);
                media::headless::RenderAudio(2000);
                DeleteSound(h, 0);
            }
        }
        return results;
    }

    void ExpectRefusedEverywhere(const std::string& path, const std::string& what) {
        for (int h : LoadInEveryMode(path)) EXPECT_EQ(h, -1) << what;
    }
    void ExpectLoadedEverywhere(const std::string& path, const std::string& what) {
        for (int h : LoadInEveryMode(path)) EXPECT_GT(h, 0) << what;
    }

    std::string Path(const std::string& name) { return dir.File(name); }
    testsupport::ScratchFolder dir{testsupport::ScratchFolder::kStay};
};

std::vector<uint8_t> RandomBytes(size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> bytes(n);
    for (auto& b : bytes) b = static_cast<uint8_t>(rng());
    return bytes;
}

std::string LogText() {
    std::ifstream in("Log.txt", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST_F(SoundBadInput, MissingEmptyRandomAndTruncatedFilesAreRefused) {
    ExpectRefusedEverywhere(Path("missing.wav"), "missing file");
    ExpectRefusedEverywhere(dir.File(""), "a folder");
    for (const char* name : {"empty.wav", "empty.mp3", "empty.ogg"}) {
        testaudio::WriteBytes(Path(name), {});
        ExpectRefusedEverywhere(Path(name), name);
    }
    for (const char* name : {"noise.wav", "noise.mp3", "noise.ogg"}) {
        testaudio::WriteBytes(Path(name), RandomBytes(20000, 7));
        ExpectRefusedEverywhere(Path(name), name);
    }
    // Random bytes behind each format's signature.
    auto riff = RandomBytes(5000, 11);
    std::copy_n("RIFF\x10\x27\0\0WAVE", 12, riff.begin());
    testaudio::WriteBytes(Path("riffnoise.wav"), riff);
    ExpectRefusedEverywhere(Path("riffnoise.wav"), "RIFF WAVE + noise");
    auto ogg = RandomBytes(5000, 13);
    std::copy_n("OggS", 4, ogg.begin());
    testaudio::WriteBytes(Path("oggnoise.ogg"), ogg);
    ExpectRefusedEverywhere(Path("oggnoise.ogg"), "OggS + noise");

    // A WAV cut inside its header.
    const std::string good = testaudio::WriteStereoWav(dir, "good.wav", testaudio::Level(1000, 100), 48000);
    auto bytes = testaudio::ReadBytes(good);
    testaudio::WriteBytes(Path("cut.wav"), std::vector<uint8_t>(bytes.begin(), bytes.begin() + 30));
    ExpectRefusedEverywhere(Path("cut.wav"), "WAV cut in its header");

    // A buffered failure is logged with the path.
    SetSoundDataMode(0);
    EXPECT_EQ(LoadSound(Path("noise.wav").c_str(), 3, -1), -1);
    EXPECT_NE(LogText().find("_1"), std::string::npos);
    EXPECT_NE(LogText().find(Path("noise.wav")), std::string::npos);
}

TEST_F(SoundBadInput, TruncatedDataAndAHugeDataSizeClaimPlayWhatIsThere) {
    const std::string good = testaudio::WriteStereoWav(dir, "good.wav", testaudio::Level(1000, 100), 48000);
    auto bytes = testaudio::ReadBytes(good);
    // Claims 2 GB of data but holds 1000 frames.
    auto huge = bytes;
    huge[40] = 0xF0;
    huge[41] = 0xFF;
    huge[42] = 0xFF;
    huge[43] = 0x7F;
    testaudio::WriteBytes(Path("huge.wav"), huge);
    ExpectLoadedEverywhere(Path("huge.wav"), "huge data size");
    std::vector<int16_t> pcm;
    ASSERT_EQ(media::DecodeWholeFile(Path("huge.wav"), 48000, pcm), media::SoundDecodeResult::Ok);
    EXPECT_EQ(pcm.size(), 2000u);
    // Cut in the middle of its data (and of a frame).
    testaudio::WriteBytes(Path("half.wav"), std::vector<uint8_t>(bytes.begin(), bytes.begin() + 44 + 2001));
    ExpectLoadedEverywhere(Path("half.wav"), "data cut short");
    ASSERT_EQ(media::DecodeWholeFile(Path("half.wav"), 48000, pcm), media::SoundDecodeResult::Ok);
    EXPECT_EQ(pcm.size(), 1000u);
    // No data at all.
    testaudio::WriteBytes(Path("nodata.wav"), std::vector<uint8_t>(bytes.begin(), bytes.begin() + 44));
    ExpectRefusedEverywhere(Path("nodata.wav"), "WAV without samples");
}

TEST_F(SoundBadInput, WavFormatsAreReadAndUnsupportedOnesRefused) {
    // 8-bit mono at 22050 Hz: one second becomes one second at the device rate.
    std::vector<uint8_t> wav = {'R',  'I',  'F', 'F', 0,    0,    0, 0, 'W', 'A', 'V', 'E',
                                'f',  'm',  't', ' ', 16,   0,    0, 0, 1,   0,   1,   0,
                                0x22, 0x56, 0,   0,   0x22, 0x56, 0, 0, 1,   0,   8,   0};
    // An unknown chunk before the data is skipped (odd size: padded).
    for (uint8_t b : std::initializer_list<uint8_t>{'L', 'I', 'S', 'T', 3, 0, 0, 0, 1, 2, 3, 0}) wav.push_back(b);
    for (uint8_t b : std::initializer_list<uint8_t>{'d', 'a', 't', 'a', 0x22, 0x56, 0, 0}) wav.push_back(b);
    for (int i = 0; i < 22050; ++i) wav.push_back(255);
    testaudio::WriteBytes(Path("mono8.wav"), wav);
    std::vector<int16_t> pcm;
    ASSERT_EQ(media::DecodeWholeFile(Path("mono8.wav"), 48000, pcm), media::SoundDecodeResult::Ok);
    EXPECT_NEAR(static_cast<double>(pcm.size() / 2), 48000.0, 3.0);
    EXPECT_EQ(pcm[100], 127 * 256);
    EXPECT_EQ(pcm[101], 127 * 256);
    // 24-bit samples and a compressed format tag are refused.
    auto bits24 = wav;
    bits24[34] = 24;
    testaudio::WriteBytes(Path("bits24.wav"), bits24);
    ExpectRefusedEverywhere(Path("bits24.wav"), "24-bit");
    auto adpcm = wav;
    adpcm[20] = 2;
    testaudio::WriteBytes(Path("adpcm.wav"), adpcm);
    ExpectRefusedEverywhere(Path("adpcm.wav"), "ADPCM");
    auto fast = wav;
    fast[24] = 0;
    fast[25] = 0;
    fast[26] = 0x40;  // 4 MHz
    testaudio::WriteBytes(Path("fast.wav"), fast);
    ExpectRefusedEverywhere(Path("fast.wav"), "absurd rate");
}

TEST_F(SoundBadInput, Mp3CasesZeroFramesTruncatedAndWrongExtension) {
    if (!testaudio::HaveLame()) return testsupport::CannotRun("the lame encoder is not installed");
    const std::string wav =
        testaudio::WriteStereoWav(dir, "tone.wav", testaudio::Tone(22050, 44100, 440.0, 8000.0), 44100);
    ASSERT_TRUE(testaudio::EncodeMp3(wav, Path("tone.mp3")));
    ExpectLoadedEverywhere(Path("tone.mp3"), "a good MP3");

    // The MP3 under a .wav name and the WAV under a .mp3 name: the bytes tell the format.
    std::filesystem::copy_file(Path("tone.mp3"), Path("really-mp3.wav"));
    std::filesystem::copy_file(wav, Path("really-wav.mp3"));
    ExpectLoadedEverywhere(Path("really-mp3.wav"), "MP3 named .wav");
    ExpectLoadedEverywhere(Path("really-wav.mp3"), "WAV named .mp3");

    // Zero frames of sound.
    testaudio::WriteStereoWav(dir, "silent.wav", {}, 44100);
    if (testaudio::EncodeMp3(Path("silent.wav"), Path("zero.mp3")))
        ExpectRefusedEverywhere(Path("zero.mp3"), "MP3 of zero frames");
    // Only an ID3 tag.
    std::vector<uint8_t> id3 = {'I', 'D', '3', 4, 0, 0, 0, 0, 0, 10};
    id3.resize(20, 0);
    testaudio::WriteBytes(Path("tagonly.mp3"), id3);
    ExpectRefusedEverywhere(Path("tagonly.mp3"), "ID3 tag only");

    // Cut after a few hundred bytes: what is there plays.
    auto bytes = testaudio::ReadBytes(Path("tone.mp3"));
    ASSERT_GT(bytes.size(), 2000u);
    testaudio::WriteBytes(Path("cut.mp3"),
                          std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(bytes.size() / 2)));
    ExpectLoadedEverywhere(Path("cut.mp3"), "MP3 cut in half");
    std::vector<int16_t> pcm;
    ASSERT_EQ(media::DecodeWholeFile(Path("cut.mp3"), 44100, pcm), media::SoundDecodeResult::Ok);
    EXPECT_GT(pcm.size() / 2, 5000u);
    EXPECT_LT(pcm.size() / 2, 22050u);
}

TEST_F(SoundBadInput, GaplessMp3DecodesToTheEncodedLength) {
    if (!testaudio::HaveLame()) return testsupport::CannotRun("the lame encoder is not installed");
    const std::string wav =
        testaudio::WriteStereoWav(dir, "tone.wav", testaudio::Tone(44100, 44100, 441.0, 8000.0), 44100);
    ASSERT_TRUE(testaudio::EncodeMp3(wav, Path("tone.mp3")));
    std::vector<int16_t> pcm;
    ASSERT_EQ(media::DecodeWholeFile(Path("tone.mp3"), 44100, pcm), media::SoundDecodeResult::Ok);
    EXPECT_EQ(pcm.size() / 2, 44100u);  // the encoder's delay and padding are cut
}

}  // namespace
