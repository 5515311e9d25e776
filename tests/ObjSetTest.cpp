// Object sets: drawing positions, index rules, scrolling wrap; the object-list helpers.
#include <list>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "objects/ObjSet.h"
#include "objects/ObjectList.h"
#include "objects/ScrollObjSet.h"

namespace {

using Calls = std::vector<std::pair<int, std::pair<int, int>>>;  // (id, (x, y))

// Records every DrawAt/Update/Reset it receives into a shared log.
class Recorder : public CBaseObj {
public:
    Recorder(int id, Calls* log) : m_id(id), m_log(log) {}
    void DrawAt(int x, int y) override { m_log->push_back({m_id, {x, y}}); }
    void Update() override { m_log->push_back({m_id, {1000, 0}}); }
    void Reset() override { m_log->push_back({m_id, {2000, 0}}); }
    int m_id;
    Calls* m_log;
};

float OffsetX(const CObjSet& set, unsigned i) {
    auto it = set.m_offsets.begin();
    std::advance(it, i);
    return it->x;
}
float OffsetY(const CObjSet& set, unsigned i) {
    auto it = set.m_offsets.begin();
    std::advance(it, i);
    return it->y;
}

}  // namespace

TEST(ObjSet, DrawsMembersInOrderAtTruncatedOffsetsPlusPosition) {
    Calls log;
    Recorder a(0, &log), b(1, &log), c(2, &log);
    CObjSet set;
    set.Draw();
    set.Update();
    EXPECT_TRUE(log.empty());  // an empty set does nothing

    set.SetPos(10, 20);
    set.Add(&a, 2.9f, -0.5f);
    set.Add(&b, -2.9f, 7.99f);
    set.Add(&c, 0.0f, 0.0f);
    a.SetPos(99, 99);  // a member's own position plays no part
    set.Draw();
    EXPECT_EQ(log, (Calls{{0, {12, 20}}, {1, {8, 27}}, {2, {10, 20}}}));

    log.clear();
    set.DrawAt(0, 0);  // bare offsets, the set's position ignored
    EXPECT_EQ(log, (Calls{{0, {2, 0}}, {1, {-2, 7}}, {2, {0, 0}}}));

    log.clear();
    set.Update();  // members are not updated through a set
    EXPECT_TRUE(log.empty());
}

TEST(ObjSet, IndexRulesOfRemoveSetChildAndSetOffset) {
    Calls log;
    Recorder a(0, &log), b(1, &log), c(2, &log);
    CObjSet set;
    set.Add(&a, 1, 1);
    set.Add(&b, 2, 2);
    set.Add(&c, 3, 3);

    set.Remove(3);  // out of range: nothing
    set.SetOffset(3, 50, 50);
    set.SetChild(&a, 3);
    ASSERT_EQ(set.m_children.size(), 3u);

    set.Remove(1);
    ASSERT_EQ(set.m_children.size(), 2u);
    ASSERT_EQ(set.m_offsets.size(), 2u);
    EXPECT_EQ(set.m_children.front(), &a);
    EXPECT_EQ(set.m_children.back(), &c);
    EXPECT_EQ(OffsetX(set, 1), 3.0f);

    CObjSet other;  // the removed member still exists
    other.Add(&b, 0, 0);
    other.Draw();
    EXPECT_EQ(log, (Calls{{1, {0, 0}}}));

    log.clear();
    set.SetChild(nullptr, 0);  // an empty slot keeps its offset
    set.SetOffset(1, 5.5f, 6.5f);
    ASSERT_EQ(set.m_children.size(), 2u);
    EXPECT_EQ(OffsetX(set, 0), 1.0f);
    set.Draw();
    EXPECT_EQ(log, (Calls{{2, {5, 6}}}));

    log.clear();
    set.Release();  // empties the lists; members stay usable
    set.Draw();
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(set.m_offsets.empty());
    set.Release();  // twice is harmless
    other.DrawAt(1, 1);
    EXPECT_EQ(log, (Calls{{1, {1, 1}}}));
}

TEST(ScrollObjSet, WrapsLeftAfterLeavingTheRectangle) {
    CScrollObjSet set;
    EXPECT_EQ(set.m_scrollX, 0.0f);
    EXPECT_EQ(set.m_wrapW, 0);
    set.m_scrollX = -0.5f;
    set.m_wrapW = 160;
    set.AddSized(nullptr, 0, 0, 160, 16);  // a null member still scrolls
    for (int i = 0; i < 320; ++i) set.Update();
    EXPECT_EQ(OffsetX(set, 0), -160.0f);  // s.w + o.x == 0 is still inside
    set.Update();
    EXPECT_EQ(OffsetX(set, 0), 160.0f);  // 321st update: -160.5 wraps, fraction dropped
    EXPECT_EQ(OffsetY(set, 0), -16.0f);  // no vertical drift, extent 0: at the edge
}

TEST(ScrollObjSet, WrapsRightAtTheEdgeAndZeroDriftCountsAsRightwards) {
    CScrollObjSet set;
    set.m_scrollX = 1.0f;
    set.m_wrapW = 160;
    set.AddSized(nullptr, 159, 0, 40, 10);
    set.Add(nullptr, 159.5f, 0);  // plain Add: size {0, 0}
    set.Update();
    EXPECT_EQ(OffsetX(set, 0), -40.0f);
    EXPECT_EQ(OffsetX(set, 1), 0.0f);
    ASSERT_EQ(set.m_sizes.size(), 2u);

    // Vertical: up past the top, and zero drift beyond the extent jumps every update.
    CScrollObjSet v;
    v.m_scrollY = -2.0f;
    v.m_wrapH = 120;
    v.AddSized(nullptr, 0, -9, 10, 10);
    v.Update();
    EXPECT_EQ(OffsetY(v, 0), 120.0f);  // 10 + (-11) < 0: wrapped to the height
    // Horizontally the drift is 0 and the extent 0: offset 0 lies at the edge.
    EXPECT_EQ(OffsetX(v, 0), -10.0f);
    v.m_scrollY = 0.0f;
    v.Update();
    EXPECT_EQ(OffsetY(v, 0), -10.0f);  // zero drift at the extent jumps to minus the size
    v.Update();
    EXPECT_EQ(OffsetY(v, 0), -10.0f);  // then stays: zero drift never moves it
    EXPECT_EQ(OffsetX(v, 0), -10.0f);
}

TEST(ScrollObjSet, SeamlessStripAndRemoveKeepsSizesInStep) {
    Calls log;
    Recorder a(0, &log), b(1, &log), c(2, &log);
    CScrollObjSet set;
    set.m_scrollX = 0.5f;
    set.m_wrapW = 160;
    set.Add(&a, 0, 0);
    set.AddSized(&b, 80, 0, 30, 60);
    set.Add(&c, 100, 0);
    set.Remove(1);
    ASSERT_EQ(set.m_sizes.size(), 2u);
    EXPECT_EQ(set.m_sizes.back().w, 0);  // c's size, not b's
    // Two tiles of 80 across 160 (added without size): they stay exactly 80 apart.
    set.SetOffset(1, 80, 0);
    for (int i = 0; i < 500; ++i) {
        set.Update();
        const float d = OffsetX(set, 1) - OffsetX(set, 0);
        ASSERT_TRUE(d == 80.0f || d == -80.0f) << "update " << i << " gap " << d;
    }
    set.Reset();
    EXPECT_TRUE(set.m_sizes.empty());
    EXPECT_EQ(set.m_scrollX, 0.0f);
    EXPECT_EQ(set.m_wrapW, 0);
}

TEST(ObjectList, UpdatesAndResetsInListOrder) {
    Calls log;
    Recorder a(0, &log), b(1, &log);
    std::list<CBaseObj*> objects{&b, &a};
    UpdateAll(objects);
    ResetAll(objects);
    EXPECT_EQ(log, (Calls{{1, {1000, 0}}, {0, {1000, 0}}, {1, {2000, 0}}, {0, {2000, 0}}}));
}
