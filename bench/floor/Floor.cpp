// The floor: the least a program does to show what the game shows. A bare SDL2
// window of 320 x 240 streams a 160 x 120 RGB565 texture at 60 frames a second,
// presented with vsync. bench/window-vs-floor.sh measures the game beside it.
// A measuring stick, not part of the game: built only by that script.
#include <SDL.h>

#include <cstdint>
#include <vector>

namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 120;

// A picture that changes every frame, so that every upload is real work.
void Paint(std::vector<uint16_t>& pixels, uint32_t frame) {
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            pixels[static_cast<size_t>(y * kWidth + x)] = static_cast<uint16_t>((x + frame) ^ (y << 5));
}

bool QuitRequested() {
    SDL_Event event;
    bool quit = false;
    while (SDL_PollEvent(&event))
        if (event.type == SDL_QUIT) quit = true;
    return quit;
}

}  // namespace

int main(int, char**) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
    SDL_Window* window = SDL_CreateWindow("floor", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 2 * kWidth,
                                          2 * kHeight, SDL_WINDOW_SHOWN);
    if (!window) return 1;
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer) return 1;
    SDL_RenderSetLogicalSize(renderer, kWidth, kHeight);
    SDL_Texture* texture =
        SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, kWidth, kHeight);
    if (!texture) return 1;
    std::vector<uint16_t> pixels(static_cast<size_t>(kWidth * kHeight));
    const Uint64 perSecond = SDL_GetPerformanceFrequency();
    const Uint64 perFrame = perSecond / 60;
    Uint64 last = SDL_GetPerformanceCounter();
    for (uint32_t frame = 0; !QuitRequested(); ++frame) {
        Paint(pixels, frame);
        SDL_UpdateTexture(texture, nullptr, pixels.data(), kWidth * 2);
        SDL_RenderClear(renderer);
        SDL_RenderCopy(renderer, texture, nullptr, nullptr);
        SDL_RenderPresent(renderer);
        // Where the present does not wait for the blank, one sleep holds 60 a second.
        const Uint64 took = SDL_GetPerformanceCounter() - last;
        const Uint32 left = took < perFrame ? static_cast<Uint32>((perFrame - took) * 1000 / perSecond) : 0;
        if (left > 0) SDL_Delay(left);
        last = SDL_GetPerformanceCounter();
    }
    SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
