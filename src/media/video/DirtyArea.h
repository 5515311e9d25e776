// Where two pictures of a screen may differ: a few rectangles that do not
// overlap, or the whole screen. Every place added lies inside one of the
// rectangles; they may cover more.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace media {

// The pixels [x0, x1) x [y0, y1) of a screen.
struct ScreenRect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;

    bool Empty() const { return x0 >= x1 || y0 >= y1; }
    // Without a branch per side: where the answer varies, one branch mispredicts at most.
    bool Meets(const ScreenRect& o) const { return (x0 < o.x1) & (o.x0 < x1) & (y0 < o.y1) & (o.y0 < y1); }
    bool Holds(const ScreenRect& o) const { return x0 <= o.x0 && y0 <= o.y0 && o.x1 <= x1 && o.y1 <= y1; }
    int64_t Area() const { return Empty() ? 0 : int64_t{x1 - x0} * (y1 - y0); }
    ScreenRect JoinedWith(const ScreenRect& o) const {
        return ScreenRect{std::min(x0, o.x0), std::min(y0, o.y0), std::max(x1, o.x1), std::max(y1, o.y1)};
    }
    bool operator==(const ScreenRect&) const = default;

    // [x, x + w) x [y, y + h) cut to a width x height screen; the sums are taken
    // in 64 bits, so far-off places give an empty rectangle, not an overflow.
    static ScreenRect Cut(int64_t x, int64_t y, int64_t w, int64_t h, int width, int height) {
        const auto cut = [](int64_t v, int limit) { return static_cast<int>(std::clamp<int64_t>(v, 0, limit)); };
        ScreenRect r{cut(x, width), cut(y, height), cut(x + w, width), cut(y + h, height)};
        if (r.Empty()) r = ScreenRect{};
        return r;
    }
};

class DirtyArea {
public:
    static constexpr size_t kMaxRects = 8;

    void Clear() {
        m_count = 0;
        m_whole = false;
        m_span = ScreenRect{};
    }
    // The whole width x height screen.
    void SetWhole(int width, int height) {
        m_rects[0] = ScreenRect{0, 0, width, height};
        m_count = m_rects[0].Empty() ? 0 : 1;
        m_whole = true;
        m_span = m_rects[0];
    }
    bool Whole() const { return m_whole; }
    bool Nothing() const { return m_count == 0; }

    // The rectangles never overlap: one that meets another takes it in.
    void Add(ScreenRect r) {
        if (r.Empty() || m_whole) return;
        for (size_t i = 0; i < m_count; ++i) {
            if (m_rects[i].Holds(r)) return;
        }
        for (;;) {
            size_t met = m_count;
            for (size_t i = 0; i < m_count && met == m_count; ++i) {
                if (m_rects[i].Meets(r)) met = i;
            }
            if (met == m_count) met = CheapJoin(r);
            if (met == m_count && m_count < kMaxRects) {
                m_rects[m_count++] = r;
                m_span = m_count == 1 ? r : m_span.JoinedWith(r);
                return;
            }
            if (met == m_count) met = LeastGrowing(r);  // full: the one that grows least takes it in
            r = r.JoinedWith(m_rects[met]);
            m_rects[met] = m_rects[--m_count];
        }
    }
    // The rectangle that holds all of `r`, or null.
    const ScreenRect* Holding(const ScreenRect& r) const {
        for (size_t i = 0; i < m_count; ++i) {
            if (m_rects[i].Holds(r)) return &m_rects[i];
        }
        return nullptr;
    }
    bool Meets(const ScreenRect& r) const {
        if (!m_span.Meets(r)) return false;
        for (size_t i = 0; i < m_count; ++i) {
            if (m_rects[i].Meets(r)) return true;
        }
        return false;
    }

    const ScreenRect* begin() const { return m_rects.data(); }
    const ScreenRect* end() const { return m_rects.data() + m_count; }

private:
    // Pixels a join of two apart rectangles may take in beside them and still
    // be one rectangle: each costs a call per draw met and a background copy.
    static constexpr int64_t kJoinSlack = 64;

    // The rectangle that `r` (meeting none) joins with at most kJoinSlack
    // pixels more than the two hold (touching ones, say), or m_count.
    size_t CheapJoin(const ScreenRect& r) const {
        const int64_t area = r.Area();
        for (size_t i = 0; i < m_count; ++i) {
            if (m_rects[i].JoinedWith(r).Area() - m_rects[i].Area() - area <= kJoinSlack) return i;
        }
        return m_count;
    }
    size_t LeastGrowing(const ScreenRect& r) const {
        size_t best = 0;
        int64_t bestGrowth = INT64_MAX;
        for (size_t i = 0; i < m_count; ++i) {
            const int64_t growth = m_rects[i].JoinedWith(r).Area() - m_rects[i].Area();
            if (growth < bestGrowth) {
                best = i;
                bestGrowth = growth;
            }
        }
        return best;
    }

    std::array<ScreenRect, kMaxRects> m_rects{};
    size_t m_count = 0;
    ScreenRect m_span;  // the smallest rectangle holding them all
    bool m_whole = false;
};

}  // namespace media
