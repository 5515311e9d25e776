// Our software renderer side by side with SDL2's software renderer on the same
// draw list (160 x 120 RGB565 target), and the main loop's own per-frame cost.
// This file includes SDL because it measures SDL itself.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "app/MainLoop.h"
#include "app/SystemContext.h"
#include "media/video/BmpWriter.h"
#include "media/headless/HeadlessControls.h"
#include "media/Media.h"
#include "app/scene/Scene.h"

namespace {

constexpr int kSprite = 16;

// 16 x 16 sprite: a gradient with a magenta (colour-keyed) border.
std::vector<uint32_t> SpritePixels() {
    std::vector<uint32_t> p;
    for (int y = 0; y < kSprite; ++y)
        for (int x = 0; x < kSprite; ++x) {
            const bool border = x == 0 || y == 0 || x == kSprite - 1 || y == kSprite - 1;
            p.push_back(border ? 0xFF00FFu
                               : static_cast<uint32_t>(x * 16) << 16 | static_cast<uint32_t>(y * 16) << 8 | 0x40u);
        }
    return p;
}

std::string WriteSpriteBmp() {
    const std::string path =
        std::filesystem::temp_directory_path() / ("anagura-bench-" + std::to_string(getpid()) + ".bmp");
    media::WriteBmp(path, SpritePixels(), kSprite, kSprite);
    return path;
}

// A private scratch folder as working folder (the media layer writes Log.txt there).
using testsupport::ScratchFolder;

struct OurScreen {
    ScratchFolder folder;
    OurScreen() {
        media::headless::Install(true);
        SetScreenMode(160, 120, 16, 60);
        InitMediaLayer();
        SetDrawTarget(kBackScreen);
        SetTransparentColor(255, 0, 255);
    }
    ~OurScreen() { EndMediaLayer(); }
};

struct SdlScreen {
    SDL_Surface* target = SDL_CreateRGBSurfaceWithFormat(0, 160, 120, 16, SDL_PIXELFORMAT_RGB565);
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(target);
    ~SdlScreen() {
        SDL_DestroyRenderer(renderer);
        SDL_FreeSurface(target);
    }
};

// ------------------------------------------------ 16 x 16 sprite, opacity 128, tint

void BM_Sprite_Ours(benchmark::State& state) {
    OurScreen screen;
    const std::string path = WriteSpriteBmp();
    const int sprite = LoadImageFile(path.c_str(), 0);
    std::remove(path.c_str());
    int i = 0;
    for (auto _ : state) {
        SetDrawBrightness(200, 150, 100);
        SetBlendMode(kBlendAlpha, 128);
        DrawImage((i * 7) % 144, (i * 5) % 104, sprite, 1);
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Sprite_Ours);

void BM_Sprite_Sdl(benchmark::State& state) {
    SdlScreen screen;
    std::vector<uint32_t> pixels = SpritePixels();
    SDL_Surface* source =
        SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), kSprite, kSprite, 32, kSprite * 4, SDL_PIXELFORMAT_RGB888);
    SDL_SetColorKey(source, SDL_TRUE, 0xFF00FF);
    SDL_Texture* texture = SDL_CreateTextureFromSurface(screen.renderer, source);
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    int i = 0;
    for (auto _ : state) {
        SDL_SetTextureColorMod(texture, 200, 150, 100);
        SDL_SetTextureAlphaMod(texture, 128);
        const SDL_Rect dst{(i * 7) % 144, (i * 5) % 104, kSprite, kSprite};
        SDL_RenderCopy(screen.renderer, texture, nullptr, &dst);
        ++i;
    }
    SDL_RenderFlush(screen.renderer);
    SDL_DestroyTexture(texture);
    SDL_FreeSurface(source);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Sprite_Sdl);

// ------------------------------------------------ full-screen rectangle, opacity 246

void BM_FadeRect_Ours(benchmark::State& state) {
    OurScreen screen;
    const uint32_t white = MakeColor(255, 255, 255);
    for (auto _ : state) {
        SetDrawBrightness(0, 0, 0);
        SetBlendMode(kBlendAlpha, 246);
        DrawRect(0, 0, 160, 120, white, 1);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FadeRect_Ours);

void BM_FadeRect_Sdl(benchmark::State& state) {
    SdlScreen screen;
    SDL_SetRenderDrawBlendMode(screen.renderer, SDL_BLENDMODE_BLEND);
    for (auto _ : state) {
        SDL_SetRenderDrawColor(screen.renderer, 0, 0, 0, 246);
        SDL_RenderFillRect(screen.renderer, nullptr);
    }
    SDL_RenderFlush(screen.renderer);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FadeRect_Sdl);

// ------------------------------------------------ one frame of the main loop, empty scene

class EmptyScene : public CScene {
public:
    void Draw() override {}
    void Update() override {}
    int NextScene() override { return kSceneStay; }
};

void BM_MainLoopFrame_EmptyScene(benchmark::State& state) {
    ScratchFolder folder;
    ResetSystem();
    media::headless::Install(true);
    MainLoopOptions options;
    options.makeScene = [](int) -> CScene* { return new EmptyScene(); };
    bool running = true;
    options.afterFrame = [&](uint64_t, CScene&) {
        if (running && !state.KeepRunning()) {
            running = false;
            media::headless::RequestQuit();
        }
    };
    RunMainLoop(options);
    ResetSystem();
}
BENCHMARK(BM_MainLoopFrame_EmptyScene);

}  // namespace
