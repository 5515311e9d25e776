// Cost of drawing a title-sized landscape through the display objects on the
// headless screen: twelve walkers, three clouds, two strips drawn twice each,
// two letterbox bars, the sky box, the logo and the blinking prompt.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <list>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "app/SystemContext.h"
#include "media/Headless.h"
#include "media/Media.h"
#include "objects/BlinkObj.h"
#include "objects/GraObj.h"
#include "objects/ObjectList.h"
#include "objects/ScrollObjSet.h"
#include "resources/ImageStore.h"

namespace {

void Put(std::ofstream& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// A 24-bit BMP with a simple pattern and a magenta (transparent) border column.
void WriteBmp(const std::string& path, int w, int h, uint32_t colour) {
    const uint32_t row = (static_cast<uint32_t>(w) * 3 + 3) & ~3u;
    std::ofstream out(path, std::ios::binary);
    out.write("BM", 2);
    Put(out, 54 + row * h, 4);
    Put(out, 0, 4);
    Put(out, 54, 4);
    Put(out, 40, 4);
    Put(out, w, 4);
    Put(out, h, 4);
    Put(out, 1, 2);
    Put(out, 24, 2);
    for (int i = 0; i < 6; ++i) Put(out, 0, 4);
    for (int y = 0; y < h; ++y) {
        uint32_t n = 0;
        for (int x = 0; x < w; ++x, n += 3) Put(out, (x % 16 == 0) ? 0xFF00FF : colour + y, 3);
        for (; n < row; ++n) out.put(0);
    }
}

struct Title {
    CGraObj bars, cloud, mountains, ground, logo, sky;
    std::array<CGraObj, 4> walkers;
    CBlinkObj pushKey;
    CScrollObjSet walkerRow, clouds, groundStrip, mountainStrip;
    std::list<CBaseObj*> updateList;

    Title() {
        bars.AddBox(20);
        cloud.AddPicture("kumo.bmp");
        ground.AddPicture("jimen.bmp");
        mountains.AddPicture("yama.bmp");
        const char* sheets[] = {"CharY.bmp", "CharR.bmp", "CharG.bmp", "CharB.bmp"};
        for (int i = 0; i < 4; ++i) {
            walkers[i].AddCells(sheets[i], 4, 4, -1, 0, 3);
            walkers[i].m_frameWait = 7;
        }
        logo.AddPicture("TitleLogo.bmp");
        pushKey.AddPicture("PushZkey.bmp");
        sky.AddBox(120);
        for (int i = 0; i < 12; ++i) walkerRow.Add(&walkers[i % 4], 16.0f * i, 0);
        walkerRow.m_wrapW = 192;
        walkerRow.m_wrapH = 16;
        walkerRow.m_scrollX = 0.3f;
        clouds.Add(&cloud, 0, 0);
        clouds.Add(&cloud, 100, 30);
        clouds.Add(&cloud, 200, 15);
        clouds.m_wrapW = 320;
        clouds.m_wrapH = 100;
        clouds.m_scrollX = -0.05f;
        mountainStrip.Add(&mountains, 0, 0);
        mountainStrip.Add(&mountains, 320, 0);
        groundStrip.Add(&ground, 0, 0);
        groundStrip.Add(&ground, 320, 0);
        for (CScrollObjSet* s : {&mountainStrip, &groundStrip}) {
            s->m_wrapW = 639;
            s->m_wrapH = 100;
        }
        mountainStrip.m_scrollX = -0.1f;
        groundStrip.m_scrollX = -0.15f;
        logo.SetPos(21, 37);
        pushKey.SetPos(45, 66);
        walkerRow.SetPos(-16, 82);
        clouds.SetPos(-80, 21);
        groundStrip.SetPos(-320, 72);
        mountainStrip.SetPos(-320, 26);
        pushKey.m_blinkHigh = 255;
        pushKey.m_blinkLow = 50;
        pushKey.m_blinkStep = 3;
        pushKey.m_blinkMode = 1;
        pushKey.m_blinkValue = 255;
        for (Tween& t : bars.m_bright) t.MoveTo(0, 0);
        sky.m_bright[0].MoveTo(0, 128);
        sky.m_bright[1].MoveTo(0, 128);
        updateList = {&bars, &cloud, &mountains, &walkers[0], &walkers[1], &walkers[2], &walkers[3],
                      &logo, &pushKey, &walkerRow, &clouds, &groundStrip, &mountainStrip, &sky};
    }
    ~Title() {
        for (CBaseObj* o : updateList) o->Release();
    }
    void Draw() {
        sky.Draw();
        clouds.Draw();
        mountainStrip.Draw();
        groundStrip.Draw();
        walkerRow.Draw();
        bars.DrawAt(0, 0);
        bars.DrawAt(0, 100);
        logo.Draw();
        pushKey.Draw();
    }
};

// Headless media layer and the title's pictures in a scratch working folder.
class Stage {
public:
    Stage() : m_previous(std::filesystem::current_path()) {
        std::string dir = (std::filesystem::temp_directory_path() / "anagura-bench-XXXXXX").string();
        if (mkdtemp(dir.data()) == nullptr) std::abort();
        m_dir = dir;
        std::filesystem::create_directory(m_dir / "image");
        std::filesystem::current_path(m_dir);
        media::headless::Install(true);
        GetSystem();
        WriteBmp("image/kumo.bmp", 40, 16, 0xF0F0F0);
        WriteBmp("image/yama.bmp", 320, 60, 0x207020);
        WriteBmp("image/jimen.bmp", 320, 60, 0x806020);
        WriteBmp("image/TitleLogo.bmp", 118, 24, 0xE0C040);
        WriteBmp("image/PushZkey.bmp", 70, 8, 0xFFFFFF);
        for (const char* s : {"image/CharY.bmp", "image/CharR.bmp", "image/CharG.bmp", "image/CharB.bmp"}) {
            WriteBmp(s, 64, 64, 0xC08040);
        }
    }
    ~Stage() {
        std::error_code ec;
        std::filesystem::current_path(m_previous, ec);
        std::filesystem::remove_all(m_dir, ec);
    }

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_dir;
};

void SetUpStage() { static Stage stage; }

void BM_TitleDraw(benchmark::State& state) {
    SetUpStage();
    Title title;
    ClearScreen();
    for (auto _ : state) {
        title.Draw();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_TitleDraw)->Unit(benchmark::kMicrosecond);

void BM_TitleUpdateAndDraw(benchmark::State& state) {
    SetUpStage();
    Title title;
    for (auto _ : state) {
        UpdateAll(title.updateList);
        title.Draw();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_TitleUpdateAndDraw)->Unit(benchmark::kMicrosecond);

// Reference for reading the figures above on a given machine: plain 16-bit fills
// of as many pixels as the title's sky, strips and bars cover (no objects, no media layer).
void BM_PlainFillOfTheTitleArea(benchmark::State& state) {
    std::vector<uint16_t> screen(160 * 120);
    uint16_t colour = 0;
    for (auto _ : state) {
        ++colour;
        std::fill(screen.begin(), screen.end(), colour);                        // sky
        std::fill(screen.begin() + 26 * 160, screen.begin() + 86 * 160, colour);  // mountains
        std::fill(screen.begin() + 60 * 160, screen.begin() + 120 * 160, colour);  // ground
        std::fill(screen.begin(), screen.begin() + 20 * 160, colour);             // bars
        std::fill(screen.begin() + 100 * 160, screen.end(), colour);
        benchmark::DoNotOptimize(screen.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PlainFillOfTheTitleArea)->Unit(benchmark::kMicrosecond);

}  // namespace
