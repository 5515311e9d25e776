// Cost of drawing the title through its display objects on the headless screen:
// twelve walkers, three clouds, two strips drawn twice each, two letterbox bars,
// the sky box, the logo and the blinking prompt.

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <list>
#include <new>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "ScratchFolder.h"
#include "app/SystemContext.h"
#include "media/video/BmpWriter.h"
#include "media/headless/HeadlessControls.h"
#include "media/Media.h"
#include "media/core/OperationLock.h"
#include "objects/ObjectList.h"
#include "resources/ImageStore.h"
#include "title/TitleObjects.h"

namespace {

// A picture in one colour shading downwards, with a magenta (transparent)
// column every 16 pixels.
void WriteBmp(const std::string& path, int w, int h, uint32_t colour) {
    std::vector<uint32_t> pixels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pixels.push_back(x % 16 == 0 ? 0xFF00FFu : colour + static_cast<uint32_t>(h - 1 - y));
    media::WriteBmp(path, pixels, w, h);
}

// The title's own objects, built and drawn as the title scene does.
struct Title {
    TitleObjects objects;
    std::list<CBaseObj*>& updateList = objects.updateList;

    Title() { objects.Build(); }
    void Draw() { objects.Draw(); }
};

// The title's pictures in a scratch working folder: the shipped ones, or
// stand-ins of the same sizes with a transparent column every 16 pixels (every
// row partly keyed: a harder case than the shipped art, whose sky rows are
// keyed whole and whose ground rows have no keyed pixel).
class PictureFolder {
public:
    explicit PictureFolder(bool shipped) {
        static const bool started = [] {
            media::headless::Install(true);
            GetSystem();
            return true;
        }();
        (void)started;
        if (shipped) {
            std::filesystem::create_directory_symlink(std::filesystem::path(ANAGURA_SOURCE_DIR) / "assets" / "image",
                                                      m_folder.Path() / "image");
            return;
        }
        std::filesystem::create_directory(m_folder.Path() / "image");
        WriteBmp("image/kumo.bmp", 40, 16, 0xF0F0F0);
        WriteBmp("image/yama.bmp", 320, 60, 0x207020);
        WriteBmp("image/jimen.bmp", 320, 28, 0x806020);
        WriteBmp("image/TitleLogo.bmp", 118, 24, 0xE0C040);
        WriteBmp("image/PushZkey.bmp", 70, 8, 0xFFFFFF);
        for (const char* s : {"image/CharY.bmp", "image/CharR.bmp", "image/CharG.bmp", "image/CharB.bmp"}) {
            WriteBmp(s, 64, 64, 0xC08040);
        }
    }
    ~PictureFolder() {
        ImageStore::Instance()->ReleaseAll();  // the next folder's pictures are loaded afresh
    }

private:
    testsupport::ScratchFolder m_folder;
};

void DrawFrames(benchmark::State& state, bool shipped, bool update) {
    PictureFolder folder(shipped);
    Title title;
    ClearScreen();
    for (auto _ : state) {
        media::OperationGuard batch;  // the main loop draws a scene as one batch
        if (update) UpdateAll(title.updateList);
        title.Draw();
        benchmark::ClobberMemory();
    }
}

void BM_TitleDraw(benchmark::State& state) { DrawFrames(state, true, false); }
void BM_TitleUpdateAndDraw(benchmark::State& state) { DrawFrames(state, true, true); }
void BM_TitleDraw_StandInsKeyedOnEveryRow(benchmark::State& state) { DrawFrames(state, false, false); }
BENCHMARK(BM_TitleDraw)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TitleUpdateAndDraw)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TitleDraw_StandInsKeyedOnEveryRow)->Unit(benchmark::kMicrosecond);

// Pixels starting on a cache line: where a heap block happened to start moved
// the plain fill's figure by up to half from one build to the next.
template <class T>
struct LineAligned {
    using value_type = T;
    LineAligned() = default;
    template <class U>
    LineAligned(const LineAligned<U>&) {}
    T* allocate(size_t n) { return static_cast<T*>(::operator new (n * sizeof(T), std::align_val_t{64})); }
    void deallocate(T* p, size_t) { ::operator delete (p, std::align_val_t{64}); }
    bool operator==(const LineAligned&) const = default;
};

// Reference for reading the figures above on a given machine: plain 16-bit fills
// of as many pixels as the title's sky, strips and bars cover (no objects, no media layer).
void BM_PlainFillOfTheTitleArea(benchmark::State& state) {
    std::vector<uint16_t, LineAligned<uint16_t>> screen(160 * 120);
    uint16_t colour = 0;
    for (auto _ : state) {
        ++colour;
        std::fill(screen.begin(), screen.end(), colour);                           // sky
        std::fill(screen.begin() + 26 * 160, screen.begin() + 86 * 160, colour);   // mountains
        std::fill(screen.begin() + 60 * 160, screen.begin() + 120 * 160, colour);  // ground
        std::fill(screen.begin(), screen.begin() + 20 * 160, colour);              // bars
        std::fill(screen.begin() + 100 * 160, screen.end(), colour);
        benchmark::DoNotOptimize(screen.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PlainFillOfTheTitleArea)->Unit(benchmark::kMicrosecond);

}  // namespace
