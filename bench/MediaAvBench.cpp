// Speed of the sound and text parts of the media layer on the headless platform:
// loading a long piece of music as a stream, mixing playing streams, drawing a
// line of cached text.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "SjisTestText.h"
#include "media/headless/HeadlessControls.h"
#include "media/Media.h"
#include "media/sound/SoundSystem.h"
#include "media/sound/WavWriter.h"

namespace {

using testtext::ToSjis;

// The headless media layer, started once for every benchmark.
void StartMedia() {
    static bool started = [] {
        media::headless::Install(true);
        SetScreenMode(160, 120, 16, 60);
        InitMediaLayer();
        SetDrawTarget(kBackScreen);
        return true;
    }();
    (void)started;
}

std::string Folder() {
    const std::string folder = (std::filesystem::temp_directory_path() / "anagura-bench-audio").string();
    std::filesystem::create_directories(folder);
    return folder;
}

// A tone of `seconds` seconds at 44.1 kHz as WAV, and as MP3 (kept between runs).
std::string ToneFile(int seconds, bool mp3) {
    const std::string base = Folder() + "/tone" + std::to_string(seconds);
    const std::string wav = base + ".wav";
    if (!std::filesystem::exists(wav)) {
        std::vector<int16_t> s(static_cast<size_t>(seconds) * 44100 * 2);
        for (size_t i = 0; i < s.size() / 2; ++i)
            s[2 * i] = s[2 * i + 1] =
                static_cast<int16_t>(8000 * std::sin(2 * M_PI * 440.0 * static_cast<double>(i) / 44100));
        media::WriteWavFile(wav, s, 44100);
    }
    if (!mp3) return wav;
    const std::string path = base + ".mp3";
    if (!std::filesystem::exists(path)) {
        const std::string command = "lame --quiet -q 9 -b 128 '" + wav + "' '" + path + "'";
        if (std::system(command.c_str()) != 0) return {};
    }
    return path;
}

void BM_LoadSoundStreamedMp3ThreeMinutes(benchmark::State& state) {
    StartMedia();
    const std::string path = ToneFile(180, true);
    if (path.empty()) {
        state.SkipWithError("the lame encoder is not installed");
        return;
    }
    SetSoundDataMode(2);
    for (auto _ : state) {
        const int h = LoadSound(path.c_str(), 3, -1);
        benchmark::DoNotOptimize(h);
        state.PauseTiming();
        DeleteSound(h, 0);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadSoundStreamedMp3ThreeMinutes)->Unit(benchmark::kMillisecond);

// One game frame of sound (800 frames at 48 kHz, 1/60 s): the streams are fed and
// mixed. "core%" is the share of one core the sound takes while the game runs.
void MixStreams(benchmark::State& state, bool mp3) {
    StartMedia();
    const std::string path = ToneFile(20, mp3);
    if (path.empty()) {
        state.SkipWithError("the lame encoder is not installed");
        return;
    }
    SetSoundDataMode(2);
    std::vector<int> handles;
    for (int i = 0; i < 5; ++i) {
        handles.push_back(LoadSound(path.c_str(), 3, -1));
        SetSoundVolume(100, handles.back());
        PlaySoundHandle(handles.back(), kPlayLoop, kFromTop);
    }
    for (auto _ : state) benchmark::DoNotOptimize(media::headless::RenderAudio(800));
    for (int h : handles) DeleteSound(h, 0);
    // CPU seconds per iteration x 60 iterations per second x 100.
    state.counters["core_percent"] = benchmark::Counter(static_cast<double>(state.iterations()) / 6000.0,
                                                        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
void BM_MixFiveWavStreams(benchmark::State& state) { MixStreams(state, false); }
void BM_MixFiveMp3Streams(benchmark::State& state) { MixStreams(state, true); }
BENCHMARK(BM_MixFiveWavStreams)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MixFiveMp3Streams)->Unit(benchmark::kMicrosecond);

void BM_DrawTextAtTenCachedCharacters(benchmark::State& state) {
    StartMedia();
    SetDefaultFontFace(ToSjis("MS ゴシック").c_str(), -1);
    SetDefaultFontThickness(2);
    SetDefaultFontSize(state.range(0));
    const std::string line = ToSjis("たたかいにしょうりした");  // ten characters after the first
    const std::string ten(line.begin() + 2, line.end());
    const uint32_t white = MakeColor(255, 255, 255);
    DrawTextAt(0, 0, ten.c_str(), white, 0);  // glyphs into the cache
    for (auto _ : state) benchmark::DoNotOptimize(DrawTextAt(4, 50, ten.c_str(), white, 0));
}
BENCHMARK(BM_DrawTextAtTenCachedCharacters)->Arg(8)->Arg(16)->Unit(benchmark::kMicrosecond);

// Two text blocks of different line heights in turn: the default font is made
// again at every change, then a short line is drawn.
void BM_AlternatingLineHeights(benchmark::State& state) {
    StartMedia();
    const std::string face = ToSjis("MS ゴシック");
    const std::string line = ToSjis("かり");
    const uint32_t white = MakeColor(255, 255, 255);
    int size = 8;
    for (auto _ : state) {
        size = size == 8 ? 16 : 8;
        SetDefaultFontSize(size);
        SetDefaultFontFace(face.c_str(), -1);
        DrawTextAt(0, 0, line.c_str(), white, 0);
    }
}
BENCHMARK(BM_AlternatingLineHeights)->Unit(benchmark::kMicrosecond);

}  // namespace
