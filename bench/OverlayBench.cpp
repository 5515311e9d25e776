// The help panel at the largest window scale (8: text 32 window pixels high).
// It is painted once when it opens, from a cold font on the first opening and
// with known glyphs after; while it is open the window copies it above the
// picture every frame (SDL's software renderer, 1280 x 960); while closed a
// frame asks the overlay once. The panel's frame must stay within 1 ms.
// This file includes SDL because it measures SDL's copy.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "DataFolder.h"
#include "SjisTestText.h"
#include "media/shell/WindowOverlay.h"
#include "media/text/OverlayPainter.h"

namespace {

constexpr int kLargestScale = 8;
constexpr int kTextSize = 4 * kLargestScale;

// A panel as a game shows it: keys, pressure, calendar, four colours, an offer; both scripts.
std::vector<std::string> PanelLines() {
    std::vector<std::string> lines = {"Keys",         "  Up: Up",      "  Down: Down",   "  Right: Right",
                                      "  Left: Left", "  Decide: Z",   "  Cancel: X",
                                      "  F1 help  F11 fullscreen  F12 screenshot  Esc quit", ""};
    for (const char* utf8 : {"しゅうげきの きけんど：35 / 100", "20にちめの しゅうげきまで 7 にち、ボスまで 27 にち",
                             "きいろ：いえに いる", "あお：かり（あと 2 にち、しょくりょう +45）"})
        lines.push_back(testtext::ToSjis(utf8));
    lines.push_back("Red: levelling up, back in 3 days, brings 1 level");
    lines.push_back("Green: at home");
    lines.push_back("Hunt for Green: costs 0 food, brings 60 food");
    return lines;
}

void BM_PanelPaintColdFont(benchmark::State& state) {
    bench::DataFolder folder(false);
    const std::vector<std::string> lines = PanelLines();
    for (auto _ : state) {
        media::OverlayPainter painter;
        benchmark::DoNotOptimize(painter.Paint(lines, kTextSize).pixels.data());
    }
}
BENCHMARK(BM_PanelPaintColdFont)->Unit(benchmark::kMillisecond);

void BM_PanelPaint(benchmark::State& state) {
    bench::DataFolder folder(false);
    const std::vector<std::string> lines = PanelLines();
    media::OverlayPainter painter;
    painter.Paint(lines, kTextSize);
    for (auto _ : state) benchmark::DoNotOptimize(painter.Paint(lines, kTextSize).pixels.data());
}
BENCHMARK(BM_PanelPaint)->Unit(benchmark::kMicrosecond);

// Upload once, then copy above the picture every frame, as the window does.
void BM_PanelFrame(benchmark::State& state) {
    bench::DataFolder folder(false);
    media::OverlayPainter painter;
    const media::OverlayPicture& panel = painter.Paint(PanelLines(), kTextSize);
    SDL_Surface* target = SDL_CreateRGBSurfaceWithFormat(0, 160 * kLargestScale, 120 * kLargestScale, 32,
                                                         SDL_PIXELFORMAT_ARGB8888);
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(target);
    SDL_Texture* texture =
        SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STATIC, panel.width, panel.height);
    SDL_UpdateTexture(texture, nullptr, panel.pixels.data(), panel.width * 4);
    const SDL_Rect place{(target->w - panel.width) / 2, (target->h - panel.height) / 2, panel.width, panel.height};
    for (auto _ : state) SDL_RenderCopy(renderer, texture, nullptr, &place);
    state.counters["panel_w"] = panel.width;
    state.counters["panel_h"] = panel.height;
    SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(target);
}
BENCHMARK(BM_PanelFrame)->Unit(benchmark::kMicrosecond);

void BM_OverlayClosed(benchmark::State& state) {
    uint32_t now = 0;
    for (auto _ : state) benchmark::DoNotOptimize(media::CurrentOverlay(++now).lines.empty());
}
BENCHMARK(BM_OverlayClosed);

}  // namespace
