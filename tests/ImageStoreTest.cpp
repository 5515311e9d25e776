// The image store: one load per file, cell keys, strip clamping, the registry.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ObjectsTestSupport.h"
#include "media/video/BmpWriter.h"
#include "media/Media.h"
#include "media/core/CallRecorder.h"
#include "media/video/PngFile.h"
#include "objects/graphics/AnimeGraph.h"
#include "objects/graphics/BoxGraph.h"
#include "objects/graphics/PictGraph.h"
#include "objects/graphics/TextGraph.h"
#include "resources/ImageStore.h"

using namespace objtest;

namespace {

class ImageStoreTest : public MediaTest {
protected:
    ImageStore* store = nullptr;
    void SetUp() override {
        MediaTest::SetUp();
        store = ImageStore::Instance();
    }
    int Handle(const std::string& key) { return store->m_files->GetHandle(key.c_str()); }
};

}  // namespace

TEST_F(ImageStoreTest, EachFileIsLoadedOnceAndFailuresAreRemembered) {
    media::WriteBmp("image/Arrow.bmp", Solid(4, 4, 0x00FF00), 4, 4);
    CPictGraph* a = store->CreatePicture("Arrow.bmp");
    std::filesystem::remove("image/Arrow.bmp");  // a second load would now fail
    CPictGraph* b = store->CreatePicture("Arrow.bmp");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    EXPECT_GT(a->m_image, 0);
    EXPECT_EQ(a->m_image, b->m_image);
    EXPECT_EQ(store->m_files->m_handles.size(), 1u);
    EXPECT_EQ(store->m_registry.size(), 2u);

    EXPECT_EQ(Handle("Never.png"), 0);
    CPictGraph* missing = store->CreatePicture("Gone.png");
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(missing->m_image, -1);
    media::WriteBmp("image/Gone.png", Solid(2, 2, 0xFFFFFF), 2, 2);
    EXPECT_EQ(store->CreatePicture("Gone.png")->m_image, -1);  // not retried
}

TEST_F(ImageStoreTest, CellsAreKeyedByNameAndIndex) {
    WriteDigitSheet();
    CAnimeGraph* three = store->CreateCells("Number.png", 10, 1, 3, 3);
    for (int i = 0; i < 10; ++i) EXPECT_GT(Handle("Number.png" + std::to_string(i)), 0) << i;
    EXPECT_EQ(Handle("Number.png"), 0);
    EXPECT_EQ(Handle("Number.png10"), 0);
    ASSERT_EQ(three->m_frames.size(), 1u);
    EXPECT_EQ(three->m_frames[0], Handle("Number.png3"));
    int w = 0, h = 0;
    EXPECT_EQ(GetImageSize(Handle("Number.png9"), &w, &h), 0);
    EXPECT_EQ(w, 5);
    EXPECT_EQ(h, 7);

    // A file loaded whole is not cut afterwards: its cell keys stay absent.
    media::WriteBmp("image/Whole.bmp", Solid(4, 4, 0xFFFFFF), 4, 4);
    store->CreatePicture("Whole.bmp");
    CAnimeGraph* whole = store->CreateCells("Whole.bmp", 2, 2, 0, 3);
    EXPECT_EQ(Handle("Whole.bmp0"), 0);
    EXPECT_EQ(whole->m_frames, (std::vector<int32_t>{0, 0, 0, 0}));
}

TEST_F(ImageStoreTest, StripRangesAreClamped) {
    media::WriteBmp("image/Four.bmp", Solid(8, 2, 0xFFFFFF), 8, 2);
    CAnimeGraph* g = store->CreateCells("Four.bmp", 4, 1, 2, 1);
    ASSERT_EQ(g->m_frames.size(), 1u);
    EXPECT_EQ(g->m_frames[0], Handle("Four.bmp2"));
    EXPECT_TRUE(store->CreateCells("Four.bmp", 4, 1, 4, 9)->m_frames.empty());
    EXPECT_EQ(store->CreateCells("Four.bmp", 4, 1, 1, 99)->m_frames.size(), 3u);

    const size_t keys = store->m_files->m_handles.size();
    CAnimeGraph* none = store->CreateCells("Other.bmp", 0, 3, 0, 0);
    EXPECT_TRUE(none->m_frames.empty());
    EXPECT_EQ(store->m_files->m_handles.size(), keys);  // nothing loaded
    EXPECT_EQ(store->m_registry.size(), 4u);
}

TEST_F(ImageStoreTest, UnevenSheetsDropTheRemainderAndFailedCutsStoreMinusOne) {
    std::vector<uint32_t> px(100 * 30, 0x0000FF);
    for (int y = 0; y < 30; ++y) px[static_cast<size_t>(y) * 100 + 99] = 0xFF0000;
    media::WritePng("image/Sheet.png", px, 100, 30);
    CAnimeGraph* cell = store->CreateCells("Sheet.png", 3, 2, 2, 2);
    int w = 0, h = 0;
    GetImageSize(Handle("Sheet.png5"), &w, &h);
    EXPECT_EQ(w, 33);
    EXPECT_EQ(h, 15);
    cell->Draw(0, 0, false, 255, 255, 255, 255);
    const auto s = Screen();
    EXPECT_TRUE(Near(At(s, 32, 0), 0x0000FF));  // column 98 of the sheet
    EXPECT_EQ(LitPixels(s, 33, 0, kScreenW, kScreenH), 0);

    store->CreateCells("Absent.png", 2, 2, 0, 3);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Handle("Absent.png" + std::to_string(i)), -1);
    media::WriteBmp("image/Tiny.bmp", Solid(3, 3, 0xFFFFFF), 3, 3);
    media::StartCallRecorder();
    CAnimeGraph* tiny = store->CreateCells("Tiny.bmp", 4, 1, 0, 3);  // cells 0 pixels wide: the cut is refused
    const std::string refused = R"(["LoadImageDivided","image/Tiny.bmp",4,4,1,0,3,0,-1])";
    EXPECT_NE(media::TakeRecordedCalls().find(refused), std::string::npos);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Handle("Tiny.bmp" + std::to_string(i)), -1);
    EXPECT_EQ(tiny->m_frames, (std::vector<int32_t>{-1, -1, -1, -1}));
    store->ReleaseAll();  // every entry is given back, the failed ones too
    EXPECT_NE(media::TakeRecordedCalls().find(R"(["DeleteImage",-1,0])"), std::string::npos);
    media::StopCallRecorder();
}

TEST_F(ImageStoreTest, GraphicsAreGivenBackOnceAndTextHeightIsAtLeastOne) {
    EXPECT_EQ(store->CreateText("t", 0)->m_lineHeight, 1);
    CGraphic* box = store->CreateBox(5);
    EXPECT_EQ(store->m_registry.size(), 2u);
    store->ReleaseGraphic(box);
    EXPECT_EQ(store->m_registry.size(), 1u);
    store->ReleaseGraphic(box);  // already given back: nothing
    store->ReleaseGraphic(nullptr);
    EXPECT_EQ(store->m_registry.size(), 1u);

    media::WriteBmp("image/Kept.bmp", Solid(2, 2, 0xFFFFFF), 2, 2);
    const int handle = store->CreatePicture("Kept.bmp")->m_image;
    store->ReleaseAll();
    EXPECT_TRUE(store->m_registry.empty());
    EXPECT_TRUE(store->m_files->m_handles.empty());
    EXPECT_EQ(GetImageSize(handle, nullptr, nullptr), -1);  // the image was freed
    store->ReleaseAll();
}
