// Graphic primitives drawn on the headless screen: pictures, animation strips,
// boxes and text blocks.
#include <string>

#include <gtest/gtest.h>

#include "ObjectsTestSupport.h"
#include "app/SystemContext.h"
#include "objects/graphics/AnimeGraph.h"
#include "objects/graphics/BoxGraph.h"
#include "objects/graphics/PictGraph.h"
#include "objects/graphics/TextGraph.h"
#include "media/Media.h"
#include "media/video/PngFile.h"
#include "resources/ImageStore.h"

using namespace objtest;

namespace {

constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kMagenta = 0xFF00FF;

class GraphicPrimitive : public MediaTest {};

}  // namespace

TEST_F(GraphicPrimitive, PictureDrawsPlainMirroredTintedAndTransparent) {
    // Left column red, right column blue, the middle one transparent magenta.
    media::WritePng("image/Pict.png", {kRed, kMagenta, kBlue, kRed, kMagenta, kBlue}, 3, 2);
    CPictGraph* pict = ImageStore::Instance()->CreatePicture("Pict.png");
    ASSERT_NE(pict, nullptr);
    pict->Draw(10, 10, false, 255, 255, 255, 255);
    pict->Draw(20, 10, true, 255, 255, 255, 255);
    pict->Draw(30, 10, false, 255, 0, 255, 255);  // tint without red
    auto s = Screen();
    EXPECT_TRUE(Near(At(s, 10, 11), kRed));
    EXPECT_EQ(At(s, 11, 10), 0u);  // colour key honoured
    EXPECT_TRUE(Near(At(s, 12, 10), kBlue));
    EXPECT_TRUE(Near(At(s, 20, 10), kBlue));
    EXPECT_TRUE(Near(At(s, 22, 10), kRed));
    EXPECT_EQ(At(s, 30, 10), 0u);
    EXPECT_TRUE(Near(At(s, 32, 10), kBlue));
    EXPECT_EQ(LitPixels(s, 0, 0, kScreenW, kScreenH), 10);  // 4 + 4 + 2 (red tinted away)

    ClearScreen();
    pict->Draw(0, 0, false, 128, 255, 255, 255);  // half opacity over black
    s = Screen();
    EXPECT_TRUE(Near(At(s, 0, 0), 0x800000, 12));
}

TEST_F(GraphicPrimitive, AnimationCyclesItsFramesAndFramelessDrawsNothing) {
    media::WritePng("image/Strip.png",
                    {kRed, kRed, 0x00FF00, 0x00FF00, kBlue, kBlue, kRed, kRed, 0x00FF00, 0x00FF00, kBlue, kBlue}, 6,
                    2);
    CAnimeGraph* anime = ImageStore::Instance()->CreateCells("Strip.png", 3, 1, 0, 2);
    ASSERT_EQ(anime->m_frames.size(), 3u);
    const uint32_t expected[] = {kRed, 0x00FF00, kBlue, kRed, 0x00FF00};
    for (uint32_t colour : expected) {
        ClearScreen();
        anime->Draw(5, 5, false, 255, 255, 255, 255);
        const auto s = Screen();
        EXPECT_TRUE(Near(At(s, 6, 6), colour)) << std::hex << At(s, 6, 6);
        EXPECT_EQ(LitPixels(s, 0, 0, kScreenW, kScreenH), 4);
        anime->Advance();
    }

    CAnimeGraph* empty = ImageStore::Instance()->CreateCells("Strip.png", 3, 1, 5, 7);
    EXPECT_TRUE(empty->m_frames.empty());
    empty->Advance();
    EXPECT_EQ(empty->m_frame, 0u);
    ClearScreen();
    empty->Draw(0, 0, false, 255, 255, 255, 255);
    EXPECT_EQ(LitPixels(Screen(), 0, 0, kScreenW, kScreenH), 0);

    anime->Release();
    anime->Release();  // twice is harmless
    EXPECT_TRUE(anime->m_frames.empty());
    EXPECT_EQ(anime->m_frame, 0u);
}

TEST_F(GraphicPrimitive, BoxFillsFullWidthAndMirroredBoxLiesOffScreen) {
    CBoxGraph* box = ImageStore::Instance()->CreateBox(24);
    EXPECT_EQ(box->m_width, 160);
    box->Draw(0, 96, false, 255, 0, 0, 255);  // coloured by the tint alone
    auto s = Screen();
    EXPECT_EQ(LitPixels(s, 0, 96, 160, 120), 160 * 24);
    EXPECT_EQ(LitPixels(s, 0, 0, 160, 96), 0);
    EXPECT_TRUE(Near(At(s, 159, 119), kBlue));

    ClearScreen();
    box->Draw(0, 96, true, 255, 255, 255, 255);  // columns -160 to -1
    EXPECT_EQ(LitPixels(Screen(), 0, 0, kScreenW, kScreenH), 0);

    ClearScreen();
    box->Draw(100, 0, true, 255, 255, 255, 255);  // columns -60 to 99
    s = Screen();
    EXPECT_EQ(LitPixels(s, 0, 0, 100, 24), 100 * 24);
    EXPECT_EQ(LitPixels(s, 100, 0, 160, 24), 0);
}

TEST(TextGraph, SetTextSplitsAtLineFeedsIntoAtMostTenLines) {
    CTextGraph text;
    text.SetText("P\nQ\n\nR");
    EXPECT_EQ(text.m_lines[0], "P");
    EXPECT_EQ(text.m_lines[1], "Q");
    EXPECT_EQ(text.m_lines[2], "");
    EXPECT_EQ(text.m_lines[3], "R");
    for (int i = 4; i < 10; ++i) EXPECT_EQ(text.m_lines[i], "") << i;

    std::string many;
    for (int i = 0; i < 13; ++i) many += std::to_string(i) + (i < 12 ? "\n" : "");
    text.SetText(many);  // 12 line feeds: the 11th to 13th lines are lost
    EXPECT_EQ(text.m_lines[0], "0");
    EXPECT_EQ(text.m_lines[9], "9");

    text.SetText("only");  // every earlier line is emptied
    EXPECT_EQ(text.m_lines[0], "only");
    EXPECT_EQ(text.m_lines[1], "");
    text.SetText("end\n");
    EXPECT_EQ(text.m_lines[0], "end");
    EXPECT_EQ(text.m_lines[1], "");
}

TEST_F(GraphicPrimitive, TextLinesStandAtTheLinePitchAndTheColourIsShared) {
    CTextGraph* text = ImageStore::Instance()->CreateText("H\nH\n\nH", 12);
    EXPECT_EQ(text->m_lineHeight, 12);
    text->Draw(10, 10, false, 255, 255, 0, 0);
    EXPECT_EQ(GetSystem()->textColour, MakeColor(255, 0, 0));
    const auto s = Screen();
    EXPECT_EQ(LitPixels(s, 0, 0, kScreenW, 10), 0);
    EXPECT_GT(LitPixels(s, 10, 10, 30, 22), 0);
    EXPECT_GT(LitPixels(s, 10, 22, 30, 34), 0);
    EXPECT_EQ(LitPixels(s, 0, 34, kScreenW, 46), 0);  // the empty line
    EXPECT_GT(LitPixels(s, 10, 46, 30, 58), 0);
    EXPECT_EQ(LitPixels(s, 0, 58, kScreenW, kScreenH), 0);
    for (int y = 0; y < kScreenH; ++y) {
        for (int x = 0; x < kScreenW; ++x) {
            const uint32_t p = At(s, x, y);
            ASSERT_EQ(p & 0x00FFFF, 0u) << "only red is drawn, at " << x << "," << y;
        }
    }

    CTextGraph* one = ImageStore::Instance()->CreateText("x", 0);
    EXPECT_EQ(one->m_lineHeight, 1);
    one->Draw(0, 0, false, 255, 0, 0, 255);
    EXPECT_EQ(GetSystem()->textColour, MakeColor(0, 0, 255));  // the last text drawn
}
