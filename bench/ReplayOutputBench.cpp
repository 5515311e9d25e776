// The replay tool's outputs, per frame: a PNG screenshot of a game-scene
// picture, and one frame of --audio-out (the mix of the playing music pulled
// from the headless device and appended to the WAV file).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "DataFolder.h"
#include "app/MainLoop.h"
#include "app/SystemContext.h"
#include "media/headless/HeadlessControls.h"
#include "media/video/PngFile.h"
#include "replay/AudioOut.h"
#include "resources/ImageStore.h"
#include "resources/SoundStore.h"

namespace {

// Runs the real main loop into the game's command menu (its music playing),
// then calls `there` after frame 300 and ends.
template <class There>
void IntoTheGame(There there) {
    ResetSystem();
    media::headless::Install(true);
    media::headless::SetRandomSeed(1);
    MainLoopOptions options;
    options.beforeFrame = [](uint64_t frame) { media::headless::SetKeyDown(44, frame >= 40 && frame < 42); };
    options.afterFrame = [&](uint64_t frame, CScene&) {
        if (frame < 300) return;
        there();
        media::headless::RequestQuit();
    };
    RunMainLoop(options);
    ImageStore::Instance()->ReleaseAll();
    SoundStore::Instance()->StopMusic();
    ResetSystem();
}

void BM_ReplayScreenshotPng(benchmark::State& state) {
    bench::DataFolder folder;
    std::vector<uint32_t> pixels;
    IntoTheGame([&] { pixels = media::headless::PresentedPixels(); });
    const std::string path = (std::filesystem::current_path() / "shot.png").string();
    for (auto _ : state) benchmark::DoNotOptimize(media::WritePng(path, pixels, 160, 120));
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
}
BENCHMARK(BM_ReplayScreenshotPng)->Unit(benchmark::kMicrosecond);

// One frame of audio output while the command menu's music plays.
void BM_ReplayAudioOutFrame(benchmark::State& state) {
    bench::DataFolder folder;
    IntoTheGame([&] {
        replay::AudioOut out;
        out.Open((std::filesystem::current_path() / "out.wav").string());
        for (auto _ : state) benchmark::DoNotOptimize(out.WriteFrame());
        out.Close();
    });
}
BENCHMARK(BM_ReplayAudioOutFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
