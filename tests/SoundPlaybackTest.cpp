// Sound through the public operations, heard through the headless mixer.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "CannotRun.h"
#include "AudioTestFiles.h"
#include "MediaTestSupport.h"
#include "media/Media.h"
#include "media/core/PlayerPrefs.h"
#include "media/headless/HeadlessControls.h"
#include "media/platform/Platform.h"
#include "media/sound/SoundOutput.h"
#include "media/sound/SoundSystem.h"
#include "media/sound/StreamedSound.h"
#include "media/sound/TailFader.h"
#include "media/sound/VolumeLaw.h"

namespace {

using testaudio::Level;
using testaudio::Tone;
using testaudio::WriteStereoWav;

// A headless media layer: sound is mixed when the test asks for it, at 48 kHz.
class SoundPlayback : public testsupport::HeadlessMedia {
protected:
    void SetUp() override {
        HeadlessMedia::SetUp();
        ASSERT_TRUE(media::SoundOutputRunning());
        ASSERT_EQ(media::SoundOutputRate(), 48000);
        SetSoundDataMode(0);
    }
    void TearDown() override {
        HeadlessMedia::TearDown();
        SetSoundDataMode(0);
    }
    std::vector<int16_t> Render(int frames) { return media::headless::RenderAudio(frames); }
    // Plays out the fade of whatever was cut.
    void LetCutsFade() { Render(kFade); }
    static constexpr int kFade = media::TailFader::kFadeFrames;
    testsupport::ScratchFolder dir{testsupport::ScratchFolder::kStay};
};

TEST(VolumeLaw, GivesTheDocumentedLevelsAndGains) {
    EXPECT_EQ(media::VolumeToHundredthsDb(128), -299);
    EXPECT_EQ(media::VolumeToHundredthsDb(64), -600);
    EXPECT_EQ(media::VolumeToHundredthsDb(1), -2407);
    EXPECT_EQ(media::VolumeToHundredthsDb(300), 0);
    EXPECT_EQ(media::VolumeToHundredthsDb(255), 0);
    EXPECT_EQ(media::VolumeToHundredthsDb(0), -10000);
    EXPECT_EQ(media::VolumeToHundredthsDb(-7), -10000);
    EXPECT_NEAR(media::GainOfHundredthsDb(-299), 0.70876, 1e-4);
    EXPECT_NEAR(media::GainOfHundredthsDb(-600), 0.50119, 1e-4);
    EXPECT_NEAR(media::GainOfHundredthsDb(-2407), 0.06255, 1e-4);
    EXPECT_EQ(media::GainOfHundredthsDb(0), 1.0f);
    EXPECT_EQ(media::GainOfHundredthsDb(-10000), 0.0f);
}

TEST_F(SoundPlayback, VolumeScalesWhatIsHeard) {
    const int h = LoadSound(WriteStereoWav(dir, "level.wav", Level(4800, 10000), 48000).c_str(), 3, -1);
    ASSERT_GT(h, 0);
    const struct {
        int volume;
        int expected;
    } cases[] = {{255, 10000}, {300, 10000}, {128, 7088}, {64, 5012}, {1, 626}, {0, 0}};
    for (const auto& c : cases) {
        ASSERT_EQ(SetSoundVolume(c.volume, h), 0);
        ASSERT_EQ(PlaySoundHandle(h, kPlayBackground, kFromTop), 0);
        const auto out = Render(100);
        EXPECT_NEAR(out[0], c.expected, 2) << "volume " << c.volume;
        EXPECT_NEAR(out[1], c.expected, 2) << "volume " << c.volume;
        StopSoundHandle(h);
        LetCutsFade();
    }
    // A change while it plays (a piece started silent, then raised; a fade) glides
    // there within 5 ms instead of stepping.
    SetSoundVolume(0, h);
    PlaySoundHandle(h, kPlayLoop, kFromTop);
    Render(100);
    SetSoundVolume(255, h);
    auto out = Render(2 * kFade);
    EXPECT_LE(out[0], 10000 / kFade + 2);
    EXPECT_LE(testaudio::MaxStep(out, 0, out.size() / 2), 10000 / kFade + 2);
    EXPECT_EQ(out[2 * kFade], 10000);
    SetSoundVolume(64, h);
    out = Render(2 * kFade);
    EXPECT_GE(out[0], 10000 - 10000 / kFade - 2);
    EXPECT_LE(testaudio::MaxStep(out, 0, out.size() / 2), 10000 / kFade + 2);
    EXPECT_NEAR(out[2 * kFade], 5012, 2);
}

// Looping sounds are music, the others effects; the player's volumes scale
// them apart, on top of the game's volume, and mute silences both.
TEST_F(SoundPlayback, PlayersVolumesScaleMusicAndEffectsApart) {
    const int h = LoadSound(WriteStereoWav(dir, "level.wav", Level(48000, 10000), 48000).c_str(), 3, -1);
    ASSERT_GT(h, 0);
    media::PlayerPrefs prefs;
    prefs.musicVolume = 50;
    prefs.effectVolume = 25;
    media::SetPlayerPrefs(prefs);
    PlaySoundHandle(h, kPlayLoop, kFromTop);
    EXPECT_NEAR(Render(100)[0], 5000, 2);
    SetSoundVolume(128, h);
    EXPECT_NEAR(Render(480)[959], 3544, 2);
    StopSoundHandle(h);
    LetCutsFade();
    SetSoundVolume(255, h);
    PlaySoundHandle(h, kPlayBackground, kFromTop);
    EXPECT_NEAR(Render(100)[0], 2500, 2);
    StopSoundHandle(h);
    LetCutsFade();
    prefs.mute = true;
    media::SetPlayerPrefs(prefs);
    PlaySoundHandle(h, kPlayLoop, kFromTop);
    PlaySoundHandle(h, kPlayBackground, kFromTop);
    EXPECT_EQ(Render(100)[0], 0);
    media::SetPlayerPrefs({});
}

TEST_F(SoundPlayback, TwoSoundsMixToTheirSumAndClipCleanly) {
    const int a = LoadSound(WriteStereoWav(dir, "a.wav", Level(4800, 10000), 48000).c_str(), 3, -1);
    const int b = LoadSound(WriteStereoWav(dir, "b.wav", Level(4800, 12000), 48000).c_str(), 3, -1);
    const int c = LoadSound(WriteStereoWav(dir, "c.wav", Level(4800, 20000), 48000).c_str(), 3, -1);
    const int d = LoadSound(WriteStereoWav(dir, "d.wav", Level(4800, -20000), 48000).c_str(), 3, -1);
    ASSERT_GT(a, 0);
    ASSERT_GT(b, 0);
    ASSERT_GT(c, 0);
    ASSERT_GT(d, 0);
    PlaySoundHandle(a, kPlayBackground, kFromTop);
    PlaySoundHandle(b, kPlayBackground, kFromTop);
    auto out = Render(64);
    for (int16_t s : out) ASSERT_EQ(s, 22000);
    StopSoundHandle(a);
    StopSoundHandle(b);
    LetCutsFade();

    // 20000 + 20000 saturates at the top instead of wrapping to a negative value.
    PlaySoundHandle(c, kPlayBackground, kFromTop);
    PlaySoundHandle(c, kPlayBackground, kFromTop);  // a second buffer of the same sound
    out = Render(64);
    for (int16_t s : out) ASSERT_EQ(s, 32767);
    StopSoundHandle(c);
    LetCutsFade();
    PlaySoundHandle(d, kPlayBackground, kFromTop);
    PlaySoundHandle(d, kPlayBackground, kFromTop);
    out = Render(64);
    for (int16_t s : out) ASSERT_EQ(s, -32768);
}

// Stopping, deleting or restarting a sound while it plays: the cut sound goes
// on from where it was for 5 ms, ramped down to zero, instead of stepping.
TEST_F(SoundPlayback, CutSoundsRampDownOverFiveMillisecondsInsteadOfStepping) {
    const auto cutAndListen = [&](int mode, const std::function<void(int)>& cut) {
        SetSoundDataMode(mode);
        // 1000 silent frames, then a steady level: a restart is silent for a while.
        auto sound = Level(48000, 12000);
        std::fill_n(sound.begin(), 2000, int16_t{0});
        const int h = LoadSound(WriteStereoWav(dir, "level.wav", sound, 48000).c_str(), 3, -1);
        EXPECT_EQ(SetSoundVolume(128, h), 0);  // at the sound's own gain
        PlaySoundHandle(h, kPlayLoop, kFromTop);
        Render(2000);
        cut(h);
        const auto out = Render(2 * kFade);
        DeleteSound(h, 0);
        return out;
    };
    const struct {
        const char* what;
        int mode;
        std::function<void(int)> cut;
    } cases[] = {
        {"stop, buffered", 0, [](int h) { StopSoundHandle(h); }},
        {"delete, streamed", 2, [](int h) { DeleteSound(h, 0); }},
        {"restart, streamed", 2, [](int h) { PlaySoundHandle(h, kPlayBackground, kFromTop); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto out = cutAndListen(c.mode, c.cut);
        const int level = 8505;  // 12000 at volume 128
        EXPECT_NEAR(out[0], level, 2);
        EXPECT_NEAR(out[2 * (kFade / 2)], level / 2, 2);
        EXPECT_LE(testaudio::MaxStep(out, 0, out.size() / 2), level / kFade + 2);
        for (size_t i = 2 * kFade; i < out.size(); ++i) ASSERT_EQ(out[i], 0) << "sample " << i;
    }
    // Two menus playing the same effect in one frame: the first start, cut before
    // it sounded, leaves no tail to double the second.
    SetSoundDataMode(2);
    const int h = LoadSound(WriteStereoWav(dir, "once.wav", Level(4800, 12000), 48000).c_str(), 3, -1);
    PlaySoundHandle(h, kPlayBackground, kFromTop);
    PlaySoundHandle(h, kPlayBackground, kFromTop);
    for (int16_t v : Render(kFade)) ASSERT_EQ(v, 12000);
}

// A ramp: frame i has the value i (both channels); shows where each buffer plays.
std::vector<int16_t> Ramp(int frames) {
    std::vector<int16_t> s(static_cast<size_t>(frames) * 2);
    for (int i = 0; i < frames; ++i)
        s[2 * static_cast<size_t>(i)] = s[2 * static_cast<size_t>(i) + 1] = static_cast<int16_t>(i);
    return s;
}

TEST_F(SoundPlayback, BufferedEffectOverlapsItselfOnSeparateBuffersRoundRobin) {
    const int h = LoadSound(WriteStereoWav(dir, "ramp.wav", Ramp(10000), 48000).c_str(), 3, -1);
    ASSERT_GT(h, 0);
    PlaySoundHandle(h, kPlayBackground, kFromTop);
    Render(100);
    PlaySoundHandle(h, kPlayBackground, kFromTop);  // second buffer, from the top, while the first goes on
    auto out = Render(10);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(out[2 * i], (100 + i) + i);
    PlaySoundHandle(h, kPlayBackground, kFromTop);  // third buffer
    out = Render(10);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(out[2 * i], (110 + i) + (10 + i) + i);
    PlaySoundHandle(h, kPlayBackground, kFromTop);  // all three busy: the first buffer starts over
    LetCutsFade();
    out = Render(10);
    for (int i = kFade; i < kFade + 10; ++i) EXPECT_EQ(out[2 * (i - kFade)], i + (20 + i) + (10 + i));
    EXPECT_EQ(StopSoundHandle(h), 0);
    LetCutsFade();
    out = Render(10);
    for (int16_t s : out) EXPECT_EQ(s, 0);
}

TEST_F(SoundPlayback, BufferCountIsCutToTenAndFromTopZeroLeavesAPlayingBufferAlone) {
    const int h = LoadSound(WriteStereoWav(dir, "level.wav", Level(48000, 1000), 48000).c_str(), 50, -1);
    ASSERT_GT(h, 0);
    for (int i = 0; i < 12; ++i) PlaySoundHandle(h, kPlayBackground, kFromTop);
    LetCutsFade();                   // the first two buffers were cut and restarted
    EXPECT_EQ(Render(4)[0], 10000);  // ten buffers at most
    const int one = LoadSound(WriteStereoWav(dir, "ramp.wav", Ramp(1000), 48000).c_str(), 1, -1);
    PlaySoundHandle(one, kPlayBackground, kFromTop);
    StopSoundHandle(h);
    LetCutsFade();
    EXPECT_EQ(PlaySoundHandle(one, kPlayBackground, kFromWhereItIs),
              0);  // its only buffer still plays: nothing happens
    EXPECT_EQ(Render(1)[0], kFade);
}

TEST_F(SoundPlayback, StreamedEffectPlayedAgainRestartsInsteadOfOverlapping) {
    SetSoundDataMode(2);
    const int h = LoadSound(WriteStereoWav(dir, "ramp.wav", Ramp(10000), 48000).c_str(), 3, -1);
    ASSERT_GT(h, 0);
    PlaySoundHandle(h, kPlayBackground, kFromTop);
    Render(768);                                    // one frame of the game
    PlaySoundHandle(h, kPlayBackground, kFromTop);  // the next frame asks again
    LetCutsFade();
    auto out = Render(10);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(out[2 * i], kFade + i);
    PlaySoundHandle(h, kPlayBackground, kFromWhereItIs);  // fromTop 0 while playing: goes on
    out = Render(10);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(out[2 * i], kFade + 10 + i);
    StopSoundHandle(h);
    LetCutsFade();
    PlaySoundHandle(h, kPlayBackground, kFromWhereItIs);  // fromTop 0 after a stop: resumes where it stopped
    out = Render(10);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(out[2 * i], kFade + 20 + i);
}

TEST_F(SoundPlayback, StreamPlayedOnceStopsAtItsEndAndStartsOverWhenPlayedAgain) {
    SetSoundDataMode(1);
    const int h = LoadSound(WriteStereoWav(dir, "ramp.wav", Ramp(2000), 48000).c_str(), 3, -1);
    ASSERT_GT(h, 0);
    PlaySoundHandle(h, kPlayBackground, kFromTop);
    auto out = Render(2500);
    EXPECT_EQ(out[2 * 1999], 1999);
    for (size_t i = 2 * 2000; i < out.size(); ++i) ASSERT_EQ(out[i], 0);
    PlaySoundHandle(h, kPlayBackground, kFromWhereItIs);
    out = Render(3);
    EXPECT_EQ(out[2], 1);
}

TEST_F(SoundPlayback, LoopingStreamOfAToneHasNoSeamAtTheLoopPoint) {
    SetSoundDataMode(2);
    // 48 kHz file at the device rate: 120 whole periods of 480 Hz; the loop must be sample-exact.
    const auto tone = Tone(12000, 48000, 480.0, 12000.0);
    const int h = LoadSound(WriteStereoWav(dir, "tone48.wav", tone, 48000).c_str(), 3, -1);
    ASSERT_GT(h, 0);
    PlaySoundHandle(h, kPlayLoop, kFromTop);
    std::vector<int16_t> heard;
    for (int frame = 0; frame < 60; ++frame) {
        const auto out = Render(768);
        heard.insert(heard.end(), out.begin(), out.end());
    }
    for (size_t i = 0; i < heard.size(); ++i) ASSERT_EQ(heard[i], tone[i % tone.size()]) << "sample " << i;

    // 44.1 kHz file resampled to 48 kHz: 441 whole periods of 441 Hz. No jump at the loop point
    // beyond what the tone itself has.
    const auto tone44 = Tone(44100, 44100, 441.0, 12000.0);
    const int r = LoadSound(WriteStereoWav(dir, "tone44.wav", tone44, 44100).c_str(), 3, -1);
    ASSERT_GT(r, 0);
    StopSoundHandle(h);
    PlaySoundHandle(r, kPlayLoop, kFromTop);
    heard.clear();
    for (int frame = 0; frame < 200; ++frame) {  // a little over three loops
        const auto out = Render(768);
        heard.insert(heard.end(), out.begin(), out.end());
    }
    const int steady = testaudio::MaxStep(heard, 1000, 40000);
    EXPECT_LE(testaudio::MaxStep(heard, 40000, heard.size() / 2), steady + 2);
    EXPECT_GT(steady, 500);  // the tone is really there
}

TEST_F(SoundPlayback, LoopingMp3LoopsWithoutAGap) {
    if (!testaudio::HaveLame()) return testsupport::CannotRun("the lame encoder is not installed");
    SetSoundDataMode(2);
    const auto tone = Tone(44100, 44100, 441.0, 12000.0);
    const std::string wav = WriteStereoWav(dir, "tone.wav", tone, 44100);
    const std::string mp3 = dir.File("tone.mp3");
    ASSERT_TRUE(testaudio::EncodeMp3(wav, mp3));
    const int h = LoadSound(mp3.c_str(), 3, -1);
    ASSERT_GT(h, 0);
    PlaySoundHandle(h, kPlayLoop, kFromTop);
    std::vector<int16_t> heard;
    for (int frame = 0; frame < 200; ++frame) {
        const auto out = Render(768);
        heard.insert(heard.end(), out.begin(), out.end());
    }
    // Gapless decoding: the tone goes on across every loop point (at whole seconds)
    // with no silence and no jump.
    const int steady = testaudio::MaxStep(heard, 10000, 40000);
    const size_t frames = heard.size() / 2;
    EXPECT_LE(testaudio::MaxStep(heard, 2000, frames), steady * 3 / 2 + 100);
    for (size_t start = 2000; start + 120 < frames; start += 60) {
        int peak = 0;
        for (size_t i = start; i < start + 120; ++i) peak = std::max(peak, std::abs(heard[2 * i]));
        ASSERT_GT(peak, 6000) << "a gap near frame " << start;
    }
}

TEST_F(SoundPlayback, PlayingStreamDoesNotRunDryWhenFramesTakeLong) {
    SetSoundDataMode(2);
    const int h = LoadSound(WriteStereoWav(dir, "level.wav", Level(48000 * 3, 5000), 48000).c_str(), 3, -1);
    ASSERT_GT(h, 0);
    PlaySoundHandle(h, kPlayLoop, kFromTop);
    std::vector<int16_t> out(6000 * 2);
    for (int frame = 0; frame < 40; ++frame) {
        media::FeedStreams();                           // what ProcessMessage does once a frame
        media::SoundMixer()->Render(out.data(), 6000);  // 125 ms of device pulls before the next frame
        for (int16_t s : out) ASSERT_EQ(s, 5000) << "frame " << frame;
    }
}

media::StreamedSound& StreamOf(int handle) {
    return dynamic_cast<media::StreamedSound&>(*media::SoundTable().Find(handle));
}

// Loading and starting a stream decode nothing ahead. A device pull that comes
// before a fifth of a second is in takes nothing from it: the sound is then
// heard from its first frame, never with a gap after a partial start; and
// stopped before that, it leaves nothing to fade out.
TEST_F(SoundPlayback, StartedStreamWaitsForItsFirstFifthOfASecond) {
    SetSoundDataMode(2);
    const int h = LoadSound(WriteStereoWav(dir, "ramp.wav", Ramp(20000), 48000).c_str(), 3, -1);
    ASSERT_GT(h, 0);
    ASSERT_EQ(PlaySoundHandle(h, kPlayBackground, kFromTop), 0);
    EXPECT_EQ(StreamOf(h).Buffered(), 0);
    std::vector<int16_t> out(2 * 512);
    StreamOf(h).FeedPiece();  // less than a fifth of a second
    ASSERT_LT(StreamOf(h).Buffered(), 48000 / 5);
    media::SoundMixer()->Render(out.data(), 512);
    EXPECT_EQ(out, std::vector<int16_t>(out.size(), 0));
    const auto heard = Render(512);  // feeds, then pulls
    for (int i = 0; i < 512; ++i) ASSERT_EQ(heard[2 * static_cast<size_t>(i)], i);

    // Stopped before it was heard: no fading tail of what was never heard.
    PlaySoundHandle(h, kPlayBackground, kFromTop);
    StreamOf(h).FeedPiece();
    media::SoundMixer()->Render(out.data(), 512);
    StopSoundHandle(h);
    EXPECT_EQ(Render(512), std::vector<int16_t>(2 * 512, 0));
}

// Beside a device that pulls by itself, the feeder thread fills a started
// stream's ring, and fills it again once ProcessMessage sees it run low. Play
// type 0, which holds the media lock while it waits, still comes to an end.
TEST(SoundFeeder, FillsStartedStreamsAndRefillsThemWhenTheyRunLow) {
    testsupport::ScratchFolder folder;
    testsupport::ScratchFolder dir{testsupport::ScratchFolder::kStay};
    media::headless::Install(true);
    media::headless::FeedStreamsOnAThread(true);
    ASSERT_EQ(InitMediaLayer(), 0);
    SetSoundDataMode(2);
    const int h = LoadSound(WriteStereoWav(dir, "ramp.wav", Ramp(30000), 48000).c_str(), 3, -1);
    ASSERT_GT(h, 0);
    PlaySoundHandle(h, kPlayLoop, kFromTop);
    const int full = 48000 * 3 / 4;
    auto waitUntilFull = [&] {
        for (int i = 0; i < 10000 && StreamOf(h).Buffered() < full; ++i) media::SleepRealMillis(1);
        return StreamOf(h).Buffered();
    };
    EXPECT_EQ(waitUntilFull(), full);
    std::vector<int16_t> out(2 * 24000);
    media::SoundMixer()->Render(out.data(), 24000);  // the device drains two thirds
    for (int i = 0; i < 24000; ++i) ASSERT_EQ(out[2 * static_cast<size_t>(i)], static_cast<int16_t>(i % 30000));
    ProcessMessage();
    EXPECT_EQ(waitUntilFull(), full);

    std::atomic<bool> stop{false};
    std::thread device([&] {
        std::vector<int16_t> block(2 * 256);
        while (!stop.load()) media::SoundMixer()->Render(block.data(), 256);
    });
    const int once = LoadSound(WriteStereoWav(dir, "short.wav", Level(9600, 100), 48000).c_str(), 3, -1);
    EXPECT_EQ(PlaySoundHandle(once, kPlayWait, kFromTop), 0);
    stop.store(true);
    device.join();
    EndMediaLayer();
}

TEST_F(SoundPlayback, BadHandlesAndDeletedSoundsAreRefused) {
    const int h = LoadSound(WriteStereoWav(dir, "level.wav", Level(48000, 3000), 48000).c_str(), 3, -1);
    ASSERT_GT(h, 0);
    EXPECT_EQ(PlaySoundHandle(h, 2, 1), -1);  // no such play type
    PlaySoundHandle(h, kPlayLoop, kFromTop);
    EXPECT_EQ(Render(2)[0], 3000);
    EXPECT_EQ(DeleteSound(h, 0), 0);  // while it plays
    LetCutsFade();
    EXPECT_EQ(Render(2)[0], 0);
    for (int bad : {h, 0, -1, 12345}) {
        EXPECT_EQ(PlaySoundHandle(bad, kPlayBackground, kFromTop), -1);
        EXPECT_EQ(StopSoundHandle(bad), -1);
        EXPECT_EQ(SetSoundVolume(128, bad), -1);
        EXPECT_EQ(DeleteSound(bad, 0), -1);
    }
    SetSoundDataMode(2);
    const int s = LoadSound(WriteStereoWav(dir, "level2.wav", Level(48000, 3000), 48000).c_str(), 3, -1);
    PlaySoundHandle(s, kPlayLoop, kFromTop);
    Render(100);
    EXPECT_EQ(DeleteSound(s, 0), 0);
    LetCutsFade();
    EXPECT_EQ(Render(2)[0], 0);
    EXPECT_EQ(PlaySoundHandle(s, kPlayBackground, kFromTop), -1);
}

TEST_F(SoundPlayback, PlayTypeZeroReturnsOnceTheSoundHasFinished) {
    for (int mode : {0, 2}) {
        SetSoundDataMode(mode);
        const int h = LoadSound(WriteStereoWav(dir, "short.wav", Level(4800, 100), 48000).c_str(), 3, -1);
        ASSERT_GT(h, 0);
        EXPECT_EQ(PlaySoundHandle(h, kPlayWait, kFromTop), 0);
        EXPECT_EQ(Render(10)[0], 0) << "mode " << mode << ": still playing after the wait";
        DeleteSound(h, 0);
    }
}

// The mixer runs on its own thread (as the device's would) while the game thread
// loads, plays, restarts, stops, feeds and deletes sounds.
TEST_F(SoundPlayback, MixerThreadAndGameThreadShareSoundsSafely) {
    const std::string path = WriteStereoWav(dir, "tone.wav", Tone(9600, 44100, 441.0, 9000.0), 44100);
    std::atomic<bool> stop{false};
    std::thread device([&] {
        std::vector<int16_t> out(512 * 2);
        while (!stop.load()) media::SoundMixer()->Render(out.data(), 512);
    });
    for (int round = 0; round < 40; ++round) {
        SetSoundDataMode(round % 4);
        const int h = LoadSound(path.c_str(), 3, -1);
        ASSERT_GT(h, 0);
        PlaySoundHandle(h, round % 2 ? 3 : 1, 1);
        media::FeedStreams();
        PlaySoundHandle(h, kPlayBackground, kFromTop);
        SetSoundVolume(round * 6, h);
        media::FeedStreams();
        if (round % 3 == 0) StopSoundHandle(h);
        PlaySoundHandle(h, kPlayLoop, kFromWhereItIs);
        DeleteSound(h, 0);
    }
    stop.store(true);
    device.join();
}

TEST_F(SoundPlayback, SoundDataModeAcceptsOnlyZeroToThree) {
    EXPECT_EQ(SetSoundDataMode(2), 0);
    EXPECT_EQ(SetSoundDataMode(4), -1);
    EXPECT_EQ(SetSoundDataMode(-1), -1);
    EXPECT_EQ(media::SoundDataMode(), 2);
}

TEST(SoundOutputOff, LoadSoundFailsWhileOutputIsNotRunning) {
    testsupport::ScratchFolder dir{testsupport::ScratchFolder::kStay};
    const std::string path = WriteStereoWav(dir, "x.wav", Level(100, 1), 48000);
    EXPECT_EQ(LoadSound(path.c_str(), 3, -1), -1);
    EXPECT_EQ(media::headless::RenderAudio(10), std::vector<int16_t>(20, 0));
}

}  // namespace
