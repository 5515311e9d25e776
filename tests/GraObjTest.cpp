// Graphic objects: defaults, tweens through Update, animation pacing, graphics
// management, exact movement and blinking.
#include <vector>

#include <gtest/gtest.h>

#include "ObjectsTestSupport.h"
#include "objects/graphics/AnimeGraph.h"
#include "media/Media.h"
#include "media/video/PngFile.h"
#include "objects/BlinkObj.h"
#include "objects/GraObj.h"
#include "objects/MoveObj.h"
#include "objects/ObjSet.h"
#include "resources/ImageStore.h"

using namespace objtest;

namespace {

class GraObj : public MediaTest {
protected:
    // "image/Three.png": three 2 x 2 cells, red, green, blue.
    void WriteThreeCells() {
        std::vector<uint32_t> px(6 * 2);
        for (int x = 0; x < 6; ++x) {
            const uint32_t c = x < 2 ? 0xFF0000 : x < 4 ? 0x00FF00 : 0x0000FF;
            px[x] = c;
            px[6 + x] = c;
        }
        media::WritePng("image/Three.png", px, 6, 2);
    }
    uint32_t Frame(CGraObj& obj) { return static_cast<CAnimeGraph*>(obj.m_graphics.at(0))->m_frame; }
};

}  // namespace

TEST_F(GraObj, FreshObjectIsOpaqueUntintedAndSettled) {
    CGraObj obj;
    EXPECT_EQ(obj.m_alpha.value, 255.0);
    for (const Tween& t : obj.m_bright) EXPECT_EQ(t.value, 255.0);
    EXPECT_FALSE(obj.m_turn);
    EXPECT_EQ(obj.m_current, 0u);
    EXPECT_EQ(obj.m_frameWait, 1u);
    EXPECT_EQ(obj.m_store, ImageStore::Instance());
    EXPECT_TRUE(obj.IsSettled());
    obj.Release();
}

TEST_F(GraObj, OpacityTweensArriveExactlyAndRestRules) {
    CGraObj obj;
    obj.m_alpha = {255.0, 0.0, -25.5};
    for (int i = 0; i < 10; ++i) obj.Update();
    EXPECT_EQ(obj.m_alpha.value, 0.0);
    EXPECT_FALSE(obj.IsSettled());  // 0 is not below the target yet
    obj.Update();
    EXPECT_EQ(obj.m_alpha.value, 0.0);
    EXPECT_TRUE(obj.IsSettled());

    obj.m_alpha = {0.0, 255.0, 0.0};  // at rest below its target
    obj.Update();
    EXPECT_EQ(obj.m_alpha.value, 255.0);
    obj.m_alpha = {200.0, 100.0, 0.0};  // at rest above its target
    obj.Update();
    EXPECT_EQ(obj.m_alpha.value, 200.0);

    obj.m_bright[2].MoveTo(4, 55.0);  // a tint fade keeps the object unsettled
    EXPECT_FALSE(obj.IsSettled());
    for (int i = 0; i < 4; ++i) obj.Update();
    EXPECT_EQ(obj.m_bright[2].value, 55.0);
    obj.Update();
    EXPECT_TRUE(obj.IsSettled());
    obj.Release();
}

TEST_F(GraObj, AnimationPacingFollowsFrameWait) {
    WriteThreeCells();
    CGraObj obj;
    obj.AddCells("Three.png", 3, 1, -1, -1, -1);
    ASSERT_EQ(obj.m_graphics.size(), 1u);
    std::vector<uint32_t> frames;
    for (int i = 0; i < 6; ++i) {
        obj.Update();
        frames.push_back(Frame(obj));
    }
    EXPECT_EQ(frames, (std::vector<uint32_t>{0, 1, 1, 2, 2, 0}));  // steps on updates 2, 4, 6
    EXPECT_EQ(obj.m_frameCount, 0u);

    obj.m_frameWait = 10;
    std::vector<int> steps;
    uint32_t last = Frame(obj);
    for (int i = 1; i <= 33; ++i) {
        obj.Update();
        if (Frame(obj) != last) steps.push_back(i);
        last = Frame(obj);
    }
    EXPECT_EQ(steps, (std::vector<int>{11, 22, 33}));

    obj.m_current = 5;  // no graphic there: the count still returns to 0
    obj.m_frameWait = 1;
    obj.Update();
    EXPECT_EQ(obj.m_frameCount, 1u);
    obj.Update();
    EXPECT_EQ(obj.m_frameCount, 0u);
    obj.Release();
}

TEST_F(GraObj, DrawsCurrentGraphicThroughItsPositionAndThroughSets) {
    WriteThreeCells();
    CGraObj obj;
    obj.AddCells("Three.png", 3, 1, -1, 1, 1);  // green alone
    obj.AddCells("Three.png", 3, 1, -1, 2, 2);  // blue alone
    obj.m_current = 1;
    obj.SetPos(50, 60);
    obj.Draw();
    CObjSet set;
    set.SetPos(10, 20);
    set.Add(&obj, 2.9f, -0.5f);
    set.Draw();        // at (12, 20)
    set.DrawAt(0, 0);  // at (2, 0)
    auto s = Screen();
    EXPECT_TRUE(Near(At(s, 50, 60), 0x0000FF));
    EXPECT_TRUE(Near(At(s, 12, 20), 0x0000FF));
    EXPECT_EQ(At(s, 11, 20), 0u);
    EXPECT_EQ(At(s, 12, 19), 0u);
    EXPECT_TRUE(Near(At(s, 2, 0), 0x0000FF));
    EXPECT_EQ(LitPixels(s, 0, 0, kScreenW, kScreenH), 12);

    ClearScreen();
    obj.m_current = 2;  // beyond the graphics: nothing
    obj.Draw();
    EXPECT_EQ(LitPixels(Screen(), 0, 0, kScreenW, kScreenH), 0);
    set.Release();
    obj.Release();
}

TEST_F(GraObj, AddCellsRangesReplacementAndClearGraphicsVersusReset) {
    WriteDigitSheet();
    ImageStore* store = ImageStore::Instance();
    CGraObj obj;
    obj.AddCells("Number.png", 10, 1, 0, 3, 3);  // index 0 of an empty list: appended
    ASSERT_EQ(obj.m_graphics.size(), 1u);
    auto* three = static_cast<CAnimeGraph*>(obj.m_graphics[0]);
    ASSERT_EQ(three->m_frames.size(), 1u);
    EXPECT_EQ(three->m_frames[0], store->m_files->GetHandle("Number.png3"));
    obj.AddCells("Number.png", 10, 1, -1, -1, 4);
    EXPECT_EQ(static_cast<CAnimeGraph*>(obj.m_graphics[1])->m_frames.size(), 10u);

    obj.AddCells("Number.png", 10, 1, 0, 7, 7);  // replaces graphic 0
    ASSERT_EQ(obj.m_graphics.size(), 2u);
    EXPECT_EQ(static_cast<CAnimeGraph*>(obj.m_graphics[0])->m_frames[0], store->m_files->GetHandle("Number.png7"));
    EXPECT_EQ(store->m_registry.size(), 2u);  // the replaced one went back

    obj.AddBox(10);
    obj.AddText("a\nb", 9);
    obj.AddPicture("Missing.png");  // a failed load still gives a graphic that draws nothing
    EXPECT_EQ(obj.m_graphics.size(), 5u);
    EXPECT_EQ(store->m_files->GetHandle("Missing.png"), -1);

    obj.m_current = 2;
    obj.m_alpha.value = 3.0;
    obj.ClearGraphics();  // gives the graphics back; the current index stays
    EXPECT_TRUE(obj.m_graphics.empty());
    EXPECT_TRUE(store->m_registry.empty());
    EXPECT_EQ(obj.m_current, 2u);
    EXPECT_EQ(obj.m_alpha.value, 3.0);
    obj.Reset();
    EXPECT_EQ(obj.m_current, 0u);
    EXPECT_EQ(obj.m_alpha.value, 255.0);

    obj.AddBox(4);
    CBaseObj* base = &obj;
    base->Release();
    base->Release();  // twice: nothing more to give back
    EXPECT_TRUE(store->m_registry.empty());
    EXPECT_EQ(obj.m_store, nullptr);
    obj.AddBox(4);  // a released object makes nothing
    EXPECT_TRUE(obj.m_graphics.empty());
}

TEST_F(GraObj, MoveByTruncatesTowardZeroInBothDirections) {
    CMoveObj obj;
    obj.SetPos(0, 0);
    obj.MoveBy(0.6, 0);
    EXPECT_EQ(obj.m_x, 0);
    obj.MoveBy(0.6, 0);
    EXPECT_EQ(obj.m_x, 1);

    obj.SetPos(0, 0);
    obj.MoveBy(-0.5, -0.25);
    EXPECT_EQ(obj.m_x, 0);
    EXPECT_EQ(obj.m_y, 0);
    obj.MoveBy(-0.5, -0.75);
    EXPECT_EQ(obj.m_x, -1);
    EXPECT_EQ(obj.m_y, -1);

    obj.Reset();  // the exact position survives a reset
    EXPECT_EQ(obj.m_x, 0);
    obj.MoveBy(0, 0);
    EXPECT_EQ(obj.m_x, -1);
    obj.Release();
}

TEST_F(GraObj, BlinkSawToothRestartsFromTheOtherBound) {
    CBlinkObj obj;
    EXPECT_EQ(obj.m_blinkMode, 0);
    obj.m_blinkHigh = 255;
    obj.m_blinkLow = 50;
    obj.m_blinkStep = 3;
    obj.m_blinkMode = 1;
    obj.m_blinkValue = 255;
    std::vector<double> seen;
    for (int i = 0; i < 70; ++i) {
        obj.Update();
        seen.push_back(obj.m_alpha.value);
        EXPECT_EQ(obj.m_alpha.target, obj.m_alpha.value);
        EXPECT_EQ(obj.m_alpha.step, 0.0);
    }
    EXPECT_EQ(seen[0], 50.0);
    EXPECT_EQ(seen[1], 53.0);
    EXPECT_EQ(seen[68], 254.0);
    EXPECT_EQ(seen[69], 50.0);

    obj.m_blinkStep = -100;  // falling below the low bound restarts from the high one
    obj.Update();
    EXPECT_EQ(obj.m_alpha.value, 255.0);

    obj.Reset();
    EXPECT_EQ(obj.m_blinkHigh, 255.0f);
    EXPECT_EQ(obj.m_blinkStep, 0.0f);
    EXPECT_EQ(obj.m_blinkMode, 1);  // the mode survives a reset
    obj.Release();
}

TEST_F(GraObj, BlinkBounceTurnsAtTheBounds) {
    CBlinkObj obj;
    obj.m_blinkHigh = 255;
    obj.m_blinkLow = 0;
    obj.m_blinkStep = 5;
    obj.m_blinkValue = 250;
    std::vector<double> seen;
    for (int i = 0; i < 4; ++i) {
        obj.Update();
        seen.push_back(obj.m_alpha.value);
    }
    EXPECT_EQ(seen, (std::vector<double>{255, 255, 250, 245}));
    for (int i = 0; i < 49; ++i) obj.Update();
    EXPECT_EQ(obj.m_alpha.value, 0.0);
    obj.Update();
    EXPECT_EQ(obj.m_alpha.value, 0.0);  // bounced at the low bound
    obj.Update();
    EXPECT_EQ(obj.m_alpha.value, 5.0);

    obj.m_alpha.MoveTo(10, 0.0);  // the blink overrides any fade
    obj.Update();
    EXPECT_EQ(obj.m_alpha.value, 10.0);
    obj.Release();
}
