// The paged message window: page turns on buttons 4 and 5, the running page counter.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ObjectsTestSupport.h"
#include "app/SystemContext.h"
#include "objects/graphics/TextGraph.h"
#include "app/input/KeyConfig.h"
#include "media/Media.h"
#include "objects/GraObj.h"
#include "objects/TextMessageMng.h"

using namespace objtest;

namespace {

constexpr int kDecide = 44;  // Z
constexpr int kCancel = 45;  // X

class TextMessageMng : public MediaTest {
protected:
    void SetUp() override {
        MediaTest::SetUp();
        m_keys.keys = {200, 208, 205, 203, kDecide, kCancel};
        m_keys.count = 6;
        m_keys.keyboard = GetSystem()->keyboard.get();
        Frame({});
    }
    void TearDown() override {
        Frame({});
        Frame({});
        MediaTest::TearDown();
    }
    // A new keyboard frame with exactly these keys down.
    void Frame(const std::vector<int>& down) {
        KeyboardState* kb = GetSystem()->keyboard.get();
        std::memcpy(kb->previous, kb->current, sizeof kb->current);
        std::memset(kb->current, 0, sizeof kb->current);
        for (int k : down) kb->current[k] = 1;
    }
    KeyConfig m_keys;
};

}  // namespace

TEST_F(TextMessageMng, OnePressPerPageAndTheCounterGoesOn) {
    CTextMessageMng msg;
    EXPECT_EQ(msg.m_lineHeight, 8);
    msg.m_keys = &m_keys;
    msg.SetMessages({"one", "two\nlines", "three"});
    EXPECT_EQ(msg.m_pageCount, 3u);
    ASSERT_EQ(msg.m_pages->m_graphics.size(), 3u);
    EXPECT_EQ(static_cast<CTextGraph*>(msg.m_pages->m_graphics[1])->m_lines[1], "lines");
    EXPECT_EQ(static_cast<CTextGraph*>(msg.m_pages->m_graphics[1])->m_lineHeight, 8);

    std::vector<uint32_t> pages;
    for (int i = 0; i < 4; ++i) {
        Frame({kDecide});
        msg.Update();
        Frame({});
        msg.Update();
        pages.push_back(msg.m_page);
        pages.push_back(msg.m_pages->m_current);
    }
    EXPECT_EQ(pages, (std::vector<uint32_t>{1, 1, 2, 2, 3, 2, 4, 2}));
    msg.Release();
}

TEST_F(TextMessageMng, HeldKeyAndBothButtonsTurnOnce) {
    CTextMessageMng msg;
    msg.m_keys = &m_keys;
    msg.SetMessages({"a"});
    for (int i = 0; i < 5; ++i) {
        Frame({kCancel});
        msg.Update();
    }
    EXPECT_EQ(msg.m_page, 1u);  // read: m_page == m_pageCount
    EXPECT_EQ(msg.m_pages->m_current, 0u);

    msg.m_page = 0;
    Frame({});
    msg.Update();
    Frame({kDecide, kCancel});
    msg.Update();
    EXPECT_EQ(msg.m_page, 1u);
    msg.Release();
}

TEST_F(TextMessageMng, ShortKeyConfigurationsAndNoPages) {
    CTextMessageMng msg;
    msg.Update();           // no keys at all
    m_keys.keys.resize(5);  // only button 4 works
    msg.m_keys = &m_keys;
    Frame({kCancel});
    msg.Update();
    EXPECT_EQ(msg.m_page, 0u);
    Frame({kDecide});
    msg.Update();
    EXPECT_EQ(msg.m_page, 1u);  // no pages: only the counter moves
    EXPECT_EQ(msg.m_pages->m_current, 0u);

    msg.Reset();
    EXPECT_EQ(msg.m_keys, nullptr);
    EXPECT_EQ(msg.m_page, 0u);
    msg.Release();
    msg.Release();  // twice is harmless; the destructor follows
    EXPECT_EQ(msg.m_pages, nullptr);
}

TEST_F(TextMessageMng, DrawsTheCurrentPageAtItsPosition) {
    CTextMessageMng msg;
    msg.m_keys = &m_keys;
    msg.SetMessages({"HHH", "H"});
    msg.SetPos(100, 50);
    msg.Draw();
    auto s = Screen();
    EXPECT_EQ(LitPixels(s, 0, 0, 100, kScreenH), 0);
    EXPECT_GT(LitPixels(s, 100, 50, 130, 58), 0);
    const int firstPage = LitPixels(s, 100, 50, 160, 58);

    Frame({kDecide});
    msg.Update();
    ClearScreen();
    msg.DrawAt(0, 0);
    s = Screen();
    EXPECT_GT(LitPixels(s, 0, 0, 30, 8), 0);
    EXPECT_LT(LitPixels(s, 0, 0, 60, 8), firstPage);     // one letter instead of three
    delete static_cast<CBaseObj*>(new CTextMessageMng);  // deleting through the base is clean
    msg.Release();
}
