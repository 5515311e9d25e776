// What a frame costs the window: the events pumped (their keys read by the
// shell) and the 160 x 120 screen shown in a 320 x 240 window, through the SDL platform on
// whatever display SDL finds (skipped when it finds none). Run it under the
// display whose cost matters; with vsync on a real screen it measures the
// refresh rate instead.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/platform/Platform.h"
#include "media/sdl/SdlPlatform.h"
#include "media/shell/Shell.h"

namespace {

void BM_WindowFrame(benchmark::State& state) {
    std::unique_ptr<media::Platform> platform = media::MakeSdlPlatform();
    platform->AttachInput(&media::TheShell());
    media::WindowRequest request;
    request.width = 160;
    request.height = 120;
    request.scale = 2.0;
    std::string error;
    if (!platform->OpenWindow(request, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    std::vector<uint16_t> pixels(160 * 120);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint16_t>(i * 2654435761u >> 16);
    uint8_t keys[256];
    for (auto _ : state) {
        platform->PumpEvents();
        media::TheShell().ReadKeys(keys);
        platform->Present(pixels.data(), 160, 120, 160 * 2, media::PixelFormat::Rgb565);
        benchmark::DoNotOptimize(keys);
    }
    platform->CloseWindow();
    platform->AttachInput(nullptr);
}
BENCHMARK(BM_WindowFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
