// The scene base: state changes through the fade, the fade timeline and its overlay.
#include <gtest/gtest.h>

#include <vector>

#include "MediaTestSupport.h"
#include "media/Media.h"
#include "app/scene/Scene.h"

namespace {

class RecordingScene : public CScene {
public:
    void EnterState(int newState) override {
        entered.push_back(newState);
        // State 7 is refused: the scene falls back to state 0.
        CScene::EnterState(newState == 7 ? 0 : newState);
    }
    std::vector<int> entered;
};

TEST(SceneFade, StateIsEnteredInTheUpdateWhoseCounterReaches30) {
    RecordingScene scene;
    scene.Begin(nullptr, nullptr);
    EXPECT_EQ(scene.fadeKind, 1);
    EXPECT_EQ(scene.NextScene(), 1);  // no fade running
    scene.Update();
    scene.RequestState(4, 1);
    EXPECT_EQ(scene.fade->counter, 1);
    EXPECT_TRUE(scene.fade->closing);
    EXPECT_EQ(scene.NextScene(), 0);
    for (int update = 1; update <= 28; ++update) {
        scene.Update();
        EXPECT_EQ(scene.fade->counter, 1 + update);
        EXPECT_EQ(scene.state, 0);
    }
    scene.Update();  // counter reaches 30: the state changes, the opening starts at 29
    EXPECT_EQ(scene.entered, std::vector<int>{4});
    EXPECT_EQ(scene.state, 4);
    EXPECT_EQ(scene.pendingState, 4);
    EXPECT_EQ(scene.fade->counter, 29);
    EXPECT_FALSE(scene.fade->closing);
    for (int update = 1; update <= 29; ++update) {
        scene.Update();
        EXPECT_EQ(scene.fade->counter, 29 - update);
    }
    scene.Update();
    EXPECT_EQ(scene.fade->counter, 0);
    EXPECT_EQ(scene.entered.size(), 1u);
}

TEST(SceneFade, RequestsWhileClosingAreIgnoredWhileOpeningRestart) {
    RecordingScene scene;
    scene.Begin(nullptr, nullptr);
    scene.RequestState(2, 1);
    scene.Update();
    scene.RequestState(3, 2);  // closing: ignored
    EXPECT_EQ(scene.pendingState, 2);
    EXPECT_EQ(scene.fadeKind, 1);
    while (scene.state != 2) scene.Update();
    scene.Update();
    EXPECT_EQ(scene.fade->counter, 28);
    scene.RequestState(3, 2);  // opening: accepted, closes again from 1
    EXPECT_EQ(scene.fade->counter, 1);
    EXPECT_TRUE(scene.fade->closing);
    EXPECT_EQ(scene.fade->kind, 2);
    EXPECT_EQ(scene.pendingState, 3);
}

TEST(SceneFade, RedirectedEnterStateIsNotRetried) {
    RecordingScene scene;
    scene.Begin(nullptr, nullptr);
    scene.EnterState(5);
    scene.RequestState(7, 1);
    for (int i = 0; i < 80; ++i) scene.Update();
    EXPECT_EQ(scene.entered, (std::vector<int>{5, 7}));
    EXPECT_EQ(scene.state, 0);
    EXPECT_EQ(scene.pendingState, 0);
}

class FadeDrawing : public testsupport::HeadlessMedia {
protected:
    void White() {
        SetDrawBrightness(255, 255, 255);
        SetBlendMode(kBlendNone, 255);
        DrawRect(0, 0, 160, 120, MakeColor(255, 255, 255), 1);
    }
    uint32_t Pixel(int x) { return testsupport::BackPixel(x, 60); }
};

TEST_F(FadeDrawing, WholeScreenKindDarkestFrameIsOpacity246) {
    FadeState fade{1, 29, true};
    White();
    DrawFade(&fade);
    // White (31, 63, 31) * 9 / 255 = (1, 2, 1), widened for reading.
    EXPECT_EQ(Pixel(0), 0x080808u);
    EXPECT_EQ(Pixel(159), 0x080808u);
    fade.counter = 15;  // t = 0.5: opacity 127
    White();
    DrawFade(&fade);
    EXPECT_EQ(Pixel(80) >> 19, (31u * 128 / 255));
}

TEST_F(FadeDrawing, SidePanelsLeaveAFivePixelGapAtTheMostCoveredFrame) {
    FadeState fade{2, 29, false};
    White();
    DrawFade(&fade);
    for (int x = 0; x < 160; ++x) {
        const bool gap = x >= 77 && x <= 81;
        EXPECT_EQ(Pixel(x), gap ? 0xFFFFFFu : 0u) << x;
    }
}

TEST_F(FadeDrawing, CutShowsOneCoveredFrameAndUnknownKindsBecomeCuts) {
    FadeState fade{0, 1, true};
    White();
    DrawFade(&fade);
    EXPECT_EQ(Pixel(80), 0u);
    EXPECT_EQ(fade.counter, 30);
    fade = {0, 29, false};
    White();
    DrawFade(&fade);
    EXPECT_EQ(Pixel(80), 0xFFFFFFu);
    EXPECT_EQ(fade.counter, 0);
    fade = {9, 12, true};
    White();
    DrawFade(&fade);
    EXPECT_EQ(fade.kind, 0);
    EXPECT_EQ(Pixel(80), 0xFFFFFFu);
    // Brightness 0 stays in force afterwards.
    DrawRect(0, 0, 1, 1, MakeColor(255, 255, 255), 1);
    EXPECT_EQ(testsupport::BackPixel(0, 0), 0u);
}

}  // namespace
