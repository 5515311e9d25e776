// Pixel-exact drawing on a 160 x 120 x 16 headless screen. Expected values are
// worked out by hand from the renderer's formulas (truncating integer arithmetic
// on the 5/6/5-bit components).
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "MediaTestSupport.h"
#include "media/video/BmpWriter.h"
#include "media/headless/HeadlessControls.h"
#include "media/Media.h"
#include "media/video/DrawOperations.h"
#include "media/video/Renderer.h"

namespace {

using testsupport::BackPixel;

struct C565 {
    uint32_t r, g, b;
    bool operator==(const C565&) const = default;
};
std::ostream& operator<<(std::ostream& o, const C565& c) {
    return o << "(" << c.r << "," << c.g << "," << c.b << ")";
}

// The 5/6/5 components of the back screen pixel (the widened 8-bit value keeps them in its top bits).
C565 At(int x, int y) {
    const uint32_t p = BackPixel(x, y);
    return {(p >> 16 & 0xFF) >> 3, (p >> 8 & 0xFF) >> 2, (p & 0xFF) >> 3};
}

class Drawing : public testsupport::HeadlessMedia {
protected:
    // A 3 x 2 picture: (200,100,50) (10,20,30) magenta / magenta (255,255,255) (0,0,0).
    int LoadSample() {
        media::WriteBmp("sample.bmp", {0xC86432, 0x0A141E, 0xFF00FF, 0xFF00FF, 0xFFFFFF, 0x000000}, 3, 2);
        return LoadImageFile("sample.bmp", 0);
    }
    void FillBack(int r, int g, int b) {
        SetBlendMode(kBlendNone, 255);
        SetDrawBrightness(255, 255, 255);
        DrawRect(0, 0, 160, 120, MakeColor(r, g, b), 1);
    }
};

// (200,100,50) in RGB565 is (25, 25, 6).
const C565 kSource{25, 25, 6};

TEST_F(Drawing, BlendModeNoneWritesTheSource) {
    const int image = LoadSample();
    ASSERT_GT(image, 0);
    FillBack(255, 255, 255);
    SetBlendMode(kBlendNone, 0);  // the parameter does not matter without blending
    EXPECT_EQ(DrawImage(10, 10, image, 0), 0);
    EXPECT_EQ(At(10, 10), kSource);
    EXPECT_EQ(At(11, 10), (C565{1, 5, 3}));
    EXPECT_EQ(At(12, 10), (C565{31, 0, 31}));  // transparent flag clear: magenta drawn
    EXPECT_EQ(At(13, 10), (C565{31, 63, 31}));
}

TEST_F(Drawing, AlphaBlendParameters) {
    const int image = LoadSample();
    // Over white (31, 63, 31) with p = 128: (s*128 + d*127) / 255.
    FillBack(255, 255, 255);
    SetBlendMode(kBlendAlpha, 128);
    DrawImage(0, 0, image, 1);
    EXPECT_EQ(At(0, 0), (C565{27, 43, 18}));
    // Over black with p = 128: s*128/255.
    FillBack(0, 0, 0);
    SetBlendMode(kBlendAlpha, 128);
    DrawImage(0, 0, image, 1);
    EXPECT_EQ(At(0, 0), (C565{12, 12, 3}));
    // 255 and anything above is opaque.
    for (int p : {255, 256, 300, INT_MAX}) {
        FillBack(255, 255, 255);
        SetBlendMode(kBlendAlpha, p);
        DrawImage(0, 0, image, 1);
        EXPECT_EQ(At(0, 0), kSource) << p;
    }
    // 0 and anything below leaves the destination as it was.
    for (int p : {0, -1, -300, INT_MIN}) {
        FillBack(255, 255, 255);
        SetBlendMode(kBlendAlpha, p);
        DrawImage(0, 0, image, 1);
        EXPECT_EQ(At(0, 0), (C565{31, 63, 31})) << p;
    }
}

TEST_F(Drawing, BrightnessMultipliesTheSourceBeforeBlending) {
    const int image = LoadSample();
    FillBack(0, 0, 0);
    SetDrawBrightness(128, 255, 0);
    SetBlendMode(kBlendNone, 255);
    DrawImage(0, 0, image, 1);
    EXPECT_EQ(At(0, 0), (C565{12, 25, 0}));  // 25*128/255 = 12
    // Out-of-range components are clamped.
    SetDrawBrightness(-20, 999, 255);
    DrawImage(0, 0, image, 1);
    EXPECT_EQ(At(0, 0), (C565{0, 25, 6}));
    // Brightness then blend: source (12, 25, 0) at p 128 over white.
    FillBack(255, 255, 255);
    SetDrawBrightness(128, 255, 0);
    SetBlendMode(kBlendAlpha, 128);
    DrawImage(0, 0, image, 1);
    EXPECT_EQ(At(0, 0), (C565{21, 43, 15}));  // (12*128+31*127)/255 = 21.4, (25*128+63*127)/255 = 43.9
    // Rectangles obey brightness too: black brightness makes white black.
    SetDrawBrightness(0, 0, 0);
    SetBlendMode(kBlendNone, 255);
    DrawRect(0, 0, 1, 1, MakeColor(255, 255, 255), 1);
    EXPECT_EQ(At(0, 0), (C565{0, 0, 0}));
}

TEST_F(Drawing, ColourKeySkipsTransparentPixelsOnlyWithTheFlag) {
    const int image = LoadSample();
    FillBack(0, 0, 255);
    DrawImage(0, 0, image, 1);
    EXPECT_EQ(At(2, 0), (C565{0, 0, 31}));
    EXPECT_EQ(At(0, 1), (C565{0, 0, 31}));
    EXPECT_EQ(At(1, 1), (C565{31, 63, 31}));
    DrawImage(0, 0, image, 0);
    EXPECT_EQ(At(2, 0), (C565{31, 0, 31}));
    // The key is taken at load: a new transparent colour does not change loaded images.
    SetTransparentColor(0, 0, 0);
    FillBack(0, 0, 255);
    DrawImage(0, 0, image, 1);
    EXPECT_EQ(At(2, 1), (C565{0, 0, 0}));
    EXPECT_EQ(At(2, 0), (C565{0, 0, 31}));
}

TEST_F(Drawing, MirroredDrawFlipsLeftRightAndClips) {
    const int image = LoadSample();
    FillBack(0, 0, 0);
    EXPECT_EQ(DrawImageMirrored(20, 20, image, 0), 0);
    EXPECT_EQ(At(20, 20), (C565{31, 0, 31}));
    EXPECT_EQ(At(21, 20), (C565{1, 5, 3}));
    EXPECT_EQ(At(22, 20), kSource);
    EXPECT_EQ(At(20, 21), (C565{0, 0, 0}));
    EXPECT_EQ(At(22, 21), (C565{31, 0, 31}));
    // Cut by the left edge: the mirrored picture's columns 1 and 2 land on x 0 and 1.
    FillBack(0, 0, 0);
    DrawImageMirrored(-1, 0, image, 0);
    EXPECT_EQ(At(0, 0), (C565{1, 5, 3}));
    EXPECT_EQ(At(1, 0), kSource);
    // Cut by the right edge: column 0 of the mirrored picture (magenta) at x 159.
    DrawImageMirrored(159, 118, image, 1);
    EXPECT_EQ(At(159, 118), (C565{0, 0, 0}));  // keyed
    EXPECT_EQ(At(159, 119), (C565{0, 0, 0}));  // the black pixel
}

TEST_F(Drawing, ImagesClipAtEveryEdgeAndFarAway) {
    const int image = LoadSample();
    FillBack(0, 0, 255);
    for (auto [x, y] : {std::pair{-2, -1},
                        {158, 119},
                        {INT_MIN, INT_MIN},
                        {INT_MAX, INT_MAX},
                        {INT_MAX - 1, 0},
                        {-3, 0},
                        {160, 0},
                        {0, 120}})
        EXPECT_EQ(DrawImage(x, y, image, 0), 0);
    EXPECT_EQ(At(0, 0), (C565{0, 0, 0}));  // (-2, -1): the picture's pixel (2, 1)
    EXPECT_EQ(At(1, 0), (C565{0, 0, 31}));
    EXPECT_EQ(At(158, 119), kSource);
    EXPECT_EQ(At(159, 119), (C565{1, 5, 3}));
}

TEST_F(Drawing, RectCornersInEitherOrderFillTheSameArea) {
    const uint32_t red = MakeColor(255, 0, 0);
    const std::pair<int, int> corners[][2] = {
        {{10, 20}, {30, 25}}, {{30, 25}, {10, 20}}, {{30, 20}, {10, 25}}, {{10, 25}, {30, 20}}};
    for (const auto& c : corners) {
        FillBack(0, 0, 0);
        DrawRect(c[0].first, c[0].second, c[1].first, c[1].second, red, 1);
        const std::vector<uint32_t> screen = media::headless::BackScreenPixels();
        EXPECT_EQ(std::count(screen.begin(), screen.end(), 0xFF0000u), 20 * 5);
        EXPECT_EQ(At(10, 20), (C565{31, 0, 0}));
        EXPECT_EQ(At(29, 24), (C565{31, 0, 0}));
        EXPECT_EQ(At(30, 24), (C565{0, 0, 0}));
        EXPECT_EQ(At(29, 25), (C565{0, 0, 0}));
        EXPECT_EQ(At(9, 20), (C565{0, 0, 0}));
    }
    // Empty rectangles draw nothing.
    FillBack(0, 0, 0);
    DrawRect(5, 5, 5, 50, red, 1);
    DrawRect(5, 5, 50, 5, red, 0);
    EXPECT_EQ(At(5, 5), (C565{0, 0, 0}));
}

TEST_F(Drawing, RectOutlineIsOnePixelAndBlendsEachPixelOnce) {
    FillBack(0, 0, 0);
    SetBlendMode(kBlendAlpha, 128);
    DrawRect(40, 30, 10, 10, MakeColor(255, 255, 255), 0);  // reversed corners
    const C565 half{15, 31, 15};                            // 31*128/255 = 15, 63*128/255 = 31
    for (auto [x, y] : {std::pair{10, 10}, {39, 10}, {10, 29}, {39, 29}, {25, 10}, {10, 20}, {39, 20}, {25, 29}})
        EXPECT_EQ(At(x, y), half) << x << "," << y;
    EXPECT_EQ(At(11, 11), (C565{0, 0, 0}));
    EXPECT_EQ(At(40, 20), (C565{0, 0, 0}));
    EXPECT_EQ(At(25, 30), (C565{0, 0, 0}));
    // A one-pixel-high outline is one row.
    FillBack(0, 0, 0);
    SetBlendMode(kBlendAlpha, 128);
    DrawRect(0, 0, 3, 1, MakeColor(255, 255, 255), 0);
    EXPECT_EQ(At(1, 0), half);
}

TEST_F(Drawing, RectsClipToTheScreen) {
    FillBack(0, 0, 0);
    const uint32_t green = MakeColor(0, 255, 0);
    DrawRect(-10, -10, 3, 2, green, 1);
    DrawRect(150, 110, 100000, 100000, green, 1);
    DrawRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX, MakeColor(0, 0, 255), 0);  // outline entirely off screen
    EXPECT_EQ(At(0, 0), (C565{0, 63, 0}));
    EXPECT_EQ(At(2, 1), (C565{0, 63, 0}));
    EXPECT_EQ(At(3, 1), (C565{0, 0, 0}));
    EXPECT_EQ(At(159, 119), (C565{0, 63, 0}));
    EXPECT_EQ(At(149, 119), (C565{0, 0, 0}));
    DrawRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX, MakeColor(0, 0, 255), 1);
    EXPECT_EQ(At(80, 60), (C565{0, 0, 31}));
}

TEST_F(Drawing, FullScreenFadeOverlayAt246) {
    FillBack(200, 100, 50);  // (25, 25, 6)
    SetDrawBrightness(0, 0, 0);
    SetBlendMode(kBlendAlpha, 246);
    DrawRect(0, 0, 160, 120, MakeColor(255, 255, 255), 1);
    // d * 9 / 255: 25*9/255 = 0, 6*9/255 = 0.
    EXPECT_EQ(At(80, 60), (C565{0, 0, 0}));
    FillBack(255, 255, 255);
    SetDrawBrightness(0, 0, 0);
    SetBlendMode(kBlendAlpha, 200);
    DrawRect(0, 0, 160, 120, MakeColor(255, 255, 255), 1);
    EXPECT_EQ(At(0, 0), (C565{6, 13, 6}));  // 31*55/255 = 6.69, 63*55/255 = 13.6
}

TEST_F(Drawing, CoverageMaskObeysTheDrawingState) {
    FillBack(0, 0, 0);
    const uint8_t mask[2 * 3] = {1, 0, 0, 255, 0, 1};  // 3 wide in a pitch of... rows of 3
    SetBlendMode(kBlendAlpha, 128);
    media::DrawCoverageMask(-1, 0, mask, 3, 2, 3, MakeColor(255, 255, 255));
    EXPECT_EQ(At(0, 0), (C565{0, 0, 0}));
    EXPECT_EQ(At(1, 0), (C565{0, 0, 0}));
    EXPECT_EQ(At(0, 1), (C565{0, 0, 0}));
    EXPECT_EQ(At(1, 1), (C565{15, 31, 15}));
    SetBlendMode(kBlendNone, 0);
    SetDrawBrightness(255, 0, 0);
    media::DrawCoverageMask(10, 10, mask, 3, 2, 3, MakeColor(255, 255, 255));
    EXPECT_EQ(At(10, 10), (C565{31, 0, 0}));
    EXPECT_EQ(At(11, 10), (C565{0, 0, 0}));
}

TEST_F(Drawing, DrawTargetsClearAndFlip) {
    const int image = LoadSample();
    EXPECT_EQ(SetDrawTarget(-3), -1);
    EXPECT_EQ(SetDrawTarget(0), -1);
    FillBack(255, 255, 255);
    DrawImage(0, 0, image, 0);
    EXPECT_TRUE(media::headless::PresentedPixels().empty());
    EXPECT_EQ(FlipScreen(), 0);
    const std::vector<uint32_t> shown = media::headless::PresentedPixels();
    ASSERT_EQ(shown.size(), 160u * 120u);
    EXPECT_EQ(shown[0], BackPixel(0, 0));
    EXPECT_EQ(shown[5], 0xFFFFFFu);
    EXPECT_EQ(ClearScreen(), 0);
    EXPECT_EQ(At(0, 0), (C565{0, 0, 0}));
    EXPECT_EQ(At(159, 119), (C565{0, 0, 0}));
    // Drawing on the front screen leaves the back screen alone.
    SetDrawTarget(kFrontScreen);
    DrawRect(0, 0, 160, 120, MakeColor(255, 255, 255), 1);
    EXPECT_EQ(At(0, 0), (C565{0, 0, 0}));
    int w = 0, h = 0;
    EXPECT_EQ(GetImageSize(kFrontScreen, &w, &h), 0);
    EXPECT_EQ(w, 160);
    EXPECT_EQ(h, 120);
    EXPECT_EQ(GetImageSize(kBackScreen, nullptr, nullptr), 0);
}

TEST(MakeColour, CutsComponentsIntoTheScreenFormat) {
    testsupport::ScratchFolder folder;
    media::headless::Install(true);
    SetScreenMode(160, 120, 16, 60);
    EXPECT_EQ(MakeColor(255, 0, 255), 0xF81Fu);
    EXPECT_EQ(MakeColor(200, 100, 50), (25u << 11) | (25u << 5) | 6u);
    SetScreenMode(-1, -1, 32, -1);
    EXPECT_EQ(MakeColor(200, 100, 50), 0xC86432u);
    SetScreenMode(-1, -1, 8, -1);
    EXPECT_EQ(MakeColor(0, 0, 0), 0u);
    EXPECT_EQ(MakeColor(255, 255, 255), 215u);  // cube corner 36*5 + 6*5 + 5
    EXPECT_EQ(MakeColor(51, 102, 153), 36u * 1 + 6u * 2 + 3u);
    EXPECT_EQ(MakeColor(25, 25, 25), 219u);  // the grey 24 is nearer than any cube entry
    EXPECT_EQ(MakeColor(3, 3, 3), 0u);       // equally far from black and grey 6: the first wins
    SetScreenMode(640, 480, 16, 60);
}

TEST(ScreenMode, RefusesBadModesAndKeepsValues) {
    testsupport::ScratchFolder folder;
    media::headless::Install(true);
    EXPECT_EQ(SetScreenMode(0, 120, 16, 60), -1);
    EXPECT_EQ(SetScreenMode(160, 0, 16, 60), -1);
    EXPECT_EQ(SetScreenMode(160, 120, 24, 60), -1);
    EXPECT_EQ(SetScreenMode(160, 120, 15, 60), -1);
    EXPECT_EQ(SetScreenMode(320, 200, 32, 60), 0);
    EXPECT_EQ(SetScreenMode(-1, 240, -1, -1), 0);
    int w = 0, h = 0;
    GetImageSize(kBackScreen, &w, &h);
    EXPECT_EQ(w, 320);
    EXPECT_EQ(h, 240);
    EXPECT_EQ(SetScreenMode(100000, 100, 16, 60), -2);
    GetImageSize(kBackScreen, &w, &h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    EXPECT_EQ(MakeColor(255, 0, 255), 0xF81Fu);
}

class Drawing32 : public testsupport::HeadlessMedia {
protected:
    void SetUp() override { Start(32); }
};

TEST_F(Drawing32, FormulasWorkOnEightBitComponents) {
    DrawRect(0, 0, 160, 120, MakeColor(255, 255, 255), 1);
    SetDrawBrightness(128, 255, 10);
    SetBlendMode(kBlendAlpha, 128);
    DrawRect(0, 0, 1, 1, MakeColor(200, 100, 50), 1);
    // brightness: 200*128/255 = 100, 100, 50*10/255 = 1; blend over 255 at 128:
    // (100*128 + 255*127)/255 = 177, (100*128+255*127)/255 = 177, (1*128+255*127)/255 = 127
    EXPECT_EQ(BackPixel(0, 0), 0xB1B17Fu);
}

class Drawing8 : public testsupport::HeadlessMedia {
protected:
    void SetUp() override { Start(8); }
};

TEST_F(Drawing8, PaletteScreenBlendsThroughTheNearestEntry) {
    DrawRect(0, 0, 160, 120, MakeColor(255, 255, 255), 1);
    EXPECT_EQ(BackPixel(0, 0), 0xFFFFFFu);
    SetBlendMode(kBlendAlpha, 128);
    DrawRect(0, 0, 1, 1, MakeColor(0, 0, 0), 1);
    // 255*127/255 = 127 on each component: nearest entry is the grey 126.
    EXPECT_EQ(BackPixel(0, 0), 0x7E7E7Eu);
}

}  // namespace
