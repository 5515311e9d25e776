#include "media/video/ScreenReuse.h"

#include <algorithm>
#include <cstring>

#include "media/Media.h"
#include "media/video/Renderer.h"

namespace media {

namespace {

// Calls noted per frame at most; a frame with more is drawn without reuse.
constexpr size_t kMaxCalls = size_t{1} << 16;
// Calls a new background must spare beyond the one kept to be worth a whole redraw.
constexpr size_t kMinGain = 8;

bool SameShape(const Surface& a, const Surface& b) {
    return a.width == b.width && a.height == b.height && a.format == b.format;
}

size_t BytesPerPixel(const Surface& s) { return static_cast<size_t>(s.Pitch()) / static_cast<size_t>(s.width); }

// Copies a rectangle from one screen to another of the same shape.
void CopyRect(const Surface& from, Surface& to, const ScreenRect& r) {
    const size_t pitch = static_cast<size_t>(to.Pitch()), pixel = BytesPerPixel(to);
    const size_t bytes = static_cast<size_t>(r.x1 - r.x0) * pixel;
    size_t at = static_cast<size_t>(r.y0) * pitch + static_cast<size_t>(r.x0) * pixel;
    const uint8_t* source = static_cast<const uint8_t*>(from.Data());
    uint8_t* target = to.Bytes();
    for (int y = r.y0; y < r.y1; ++y, at += pitch) std::memcpy(target + at, source + at, bytes);
}

void ClearRect(Surface& s, const ScreenRect& r) {
    const size_t pitch = static_cast<size_t>(s.Pitch()), pixel = BytesPerPixel(s);
    for (int y = r.y0; y < r.y1; ++y) {
        std::memset(s.Bytes() + static_cast<size_t>(y) * pitch + static_cast<size_t>(r.x0) * pixel, 0,
                    static_cast<size_t>(r.x1 - r.x0) * pixel);
    }
}

DrawCall WithState(DrawCall call, const DrawState& state) {
    call.blendMode = state.blendMode;
    call.blendParam = state.blendParam;
    call.brightR = state.brightR;
    call.brightG = state.brightG;
    call.brightB = state.brightB;
    if (state.blendMode == kBlendAlpha && state.blendParam == 0) call.bounds = ScreenRect{};  // draws nothing
    return call;
}

// Draws a noted call on `back`.
void DrawCallOn(Surface& back, const DrawCall& call) {
    if (call.kind == DrawCall::kRect) {
        DrawRectOn(back, call.x1, call.y1, call.x2, call.y2, call.colour, call.fill);
    } else if (call.kind == DrawCall::kText) {
        DrawTextRunOn(back, call.x1, call.y1, *call.run, call.colour);
    } else if (Image* im = State().images.Find(call.x2)) {
        DrawImageOn(back, *im, call.x1, call.y1, call.y2 != 0, call.kind == DrawCall::kMirroredImage);
    }
}

// Draws a noted call on `back` in the drawing state it was noted with; only
// inside `area` when given.
void DrawNotedCall(Surface& back, const DrawCall& call, const ScreenRect* area) {
    DrawState& state = State().draw;
    const DrawState saved = state;
    state.blendMode = call.blendMode;
    state.blendParam = call.blendParam;
    state.brightR = call.brightR;
    state.brightG = call.brightG;
    state.brightB = call.brightB;
    if (area) {
        const DrawingLimit limit(area->x0, area->y0, area->x1, area->y1);
        DrawCallOn(back, call);
    } else {
        DrawCallOn(back, call);
    }
    state = saved;
}


}  // namespace

DrawCall DrawCall::Image(int x, int y, int handle, int width, int height, bool transparent, bool mirrored,
                         const DrawState& state, const Surface& screen) {
    DrawCall call;
    call.kind = mirrored ? kMirroredImage : kImage;
    call.x1 = x;
    call.y1 = y;
    call.x2 = handle;
    call.y2 = transparent ? 1 : 0;
    call.bounds = ScreenRect::Cut(x, y, width, height, screen.width, screen.height);
    return WithState(std::move(call), state);
}

DrawCall DrawCall::Rect(int x1, int y1, int x2, int y2, uint32_t colour, int fill, const DrawState& state,
                        const Surface& screen) {
    DrawCall call;
    call.kind = kRect;
    call.x1 = x1;
    call.y1 = y1;
    call.x2 = x2;
    call.y2 = y2;
    call.colour = colour;
    call.fill = fill;
    // Filled or outlined, a rectangle stays within its corners' span.
    const int64_t left = std::min(x1, x2), top = std::min(y1, y2);
    call.bounds = ScreenRect::Cut(left, top, int64_t{std::max(x1, x2)} - left, int64_t{std::max(y1, y2)} - top,
                                  screen.width, screen.height);
    return WithState(std::move(call), state);
}

DrawCall DrawCall::Text(int x, int y, std::shared_ptr<const TextRun> run, uint32_t colour, const DrawState& state,
                        const Surface& screen) {
    DrawCall call;
    call.kind = kText;
    call.x1 = x;
    call.y1 = y;
    call.colour = colour;
    for (const TextMask& m : run->masks) {
        const ScreenRect r = ScreenRect::Cut(int64_t{x} + m.left, y, m.width, m.height, screen.width, screen.height);
        if (!r.Empty()) call.bounds = call.bounds.Empty() ? r : call.bounds.JoinedWith(r);
    }
    call.run = std::move(run);
    return WithState(std::move(call), state);
}

bool ScreenReuse::BeginFrame(Surface& back) {
    // A frame cleared again before it was shown is made now: its picture, on
    // the back screen, is the one the next frame starts from.
    Settle(back);
    if (m_phase == Phase::Drawn) KeepFrame(back, 0);
    m_count = 0;
    m_firstChange = SIZE_MAX;
    m_changed.Clear();
    if (!m_enabled) {
        m_phase = Phase::Off;
        return false;
    }
    if (BaseOf(State().front, back) != nullptr) {
        m_phase = Phase::Deferred;
        return true;
    }
    // Nothing to compare with: the frame is drawn as it comes, and noted for the next.
    Stop();
    m_changed.SetWhole(back.width, back.height);
    m_phase = Phase::Drawn;
    return false;
}

bool ScreenReuse::SkipRect(int x1, int y1, int x2, int y2, uint32_t colour, int fill, const DrawState& state,
                           Surface& back) {
    if (m_phase == Phase::Deferred && m_count < m_calls.size()) {
        const DrawCall& next = m_calls[m_count];
        if (next.kind == DrawCall::kRect && next.x1 == x1 && next.y1 == y1 && next.x2 == x2 && next.y2 == y2 &&
            next.colour == colour && next.fill == fill && next.InState(state)) {
            ++m_count;
            return true;
        }
    }
    if (m_phase == Phase::Off || m_phase == Phase::Ended) return false;
    return Note(DrawCall::Rect(x1, y1, x2, y2, colour, fill, state, back), back);
}

bool ScreenReuse::SkipText(int x, int y, const std::shared_ptr<const TextRun>& run, uint32_t colour,
                           const DrawState& state, Surface& back) {
    if (m_phase == Phase::Deferred && m_count < m_calls.size()) {
        const DrawCall& next = m_calls[m_count];
        if (next.kind == DrawCall::kText && next.run == run && next.x1 == x && next.y1 == y &&
            next.colour == colour && next.InState(state)) {
            ++m_count;
            return true;
        }
    }
    if (m_phase == Phase::Off || m_phase == Phase::Ended) return false;
    return Note(DrawCall::Text(x, y, run, colour, state, back), back);
}

bool ScreenReuse::SkipRepeatedText(int x, int y, uint64_t font, const char* text, uint32_t colour,
                                   const DrawState& state) {
    if (m_phase != Phase::Deferred || m_count >= m_calls.size()) return false;
    const DrawCall& next = m_calls[m_count];
    if (next.kind != DrawCall::kText || next.x1 != x || next.y1 != y || next.colour != colour ||
        !next.InState(state) || next.run->font != font || std::strcmp(next.run->text.c_str(), text) != 0)
        return false;
    ++m_count;
    return true;
}

bool ScreenReuse::NoteImage(int x, int y, int handle, int width, int height, bool transparent, bool mirrored,
                            const DrawState& state, Surface& back) {
    return Note(DrawCall::Image(x, y, handle, width, height, transparent, mirrored, state, back), back);
}

bool ScreenReuse::Note(const DrawCall& call, Surface& back) {
    if (m_count >= kMaxCalls) {
        DrawUnnoted(back);
        return false;
    }
    Record(call);
    return m_phase == Phase::Deferred;
}

void ScreenReuse::Record(const DrawCall& call) {
    if (m_count < m_calls.size()) {
        DrawCall& shown = m_calls[m_count];
        if (!(shown == call)) {
            m_firstChange = std::min(m_firstChange, m_count);
            if (shown.bounds.Meets(call.bounds)) {
                m_changed.Add(shown.bounds.JoinedWith(call.bounds));  // a figure moved a little
            } else {
                m_changed.Add(shown.bounds);
                m_changed.Add(call.bounds);
            }
            shown = call;
        }
    } else {
        m_firstChange = std::min(m_firstChange, m_count);
        m_changed.Add(call.bounds);
        m_calls.push_back(call);
    }
    ++m_count;
}

void ScreenReuse::DrawUnnoted(Surface& back) {
    if (m_phase == Phase::Off || m_phase == Phase::Ended) return;
    Settle(back);
    Stop();
    m_phase = Phase::Off;
}

void ScreenReuse::Settle(Surface& back) {
    if (m_phase == Phase::Deferred) Materialise(back);
}

void ScreenReuse::EndFrame(Surface& back) {
    Settle(back);
    if (m_phase != Phase::Drawn) {
        // Not a frame made from a clear by noted calls (or flipped again).
        Stop();
        m_phase = Phase::Ended;
        return;
    }
    m_shownChanged = m_changed;
    KeepFrame(back, m_shownId);  // the front screen after the swap
    m_phase = Phase::Ended;
}

void ScreenReuse::KeepFrame(Surface& back, uint64_t before) {
    NoteFrameDone();
    m_calls.resize(m_count);
    m_beforeId = before;
    m_shownId = ++m_lastId;
    back.ShowsPicture(m_shownId);
}

void ScreenReuse::Forget(Surface& back) {
    Settle(back);
    Stop();
    m_phase = Phase::Off;
}

void ScreenReuse::SetEnabled(bool enabled, Surface& back) {
    Forget(back);
    m_enabled = enabled;
}

void ScreenReuse::Stop() {
    m_calls.clear();
    m_count = 0;
    m_shownId = 0;
    m_beforeId = 0;
    DropBackground();
    m_recentFirstChanges.fill(0);
    m_recentLeast = 0;
}

void ScreenReuse::DropBackground() { m_backgroundCalls = 0; }

size_t ScreenReuse::FirstChange() const {
    // The last frame's calls past this frame's so far are not made (yet).
    return m_count < m_calls.size() ? std::min(m_firstChange, m_count) : m_firstChange;
}

size_t ScreenReuse::SteadyFirstChange(size_t now) const { return std::min(now, m_recentLeast); }

void ScreenReuse::NoteFrameDone() {
    const size_t change = std::min(FirstChange(), m_count);
    if (change < m_backgroundCalls) DropBackground();
    const size_t leaving = m_recentFirstChanges[m_recentAt];
    m_recentFirstChanges[m_recentAt] = change;
    m_recentAt = (m_recentAt + 1) % kRecentFrames;
    // The least of the window is looked for again only when it may have left.
    if (change <= m_recentLeast) m_recentLeast = change;
    else if (leaving == m_recentLeast)
        m_recentLeast = *std::min_element(m_recentFirstChanges.begin(), m_recentFirstChanges.end());
}

const Surface* ScreenReuse::BaseOf(const Surface& front, const Surface& back) const {
    if (m_shownId == 0) return nullptr;
    if (back.pictureId == m_shownId && !back.touched) return &back;
    if (front.pictureId == m_shownId && !front.touched && SameShape(front, back)) return &front;
    return nullptr;
}

inline void ScreenReuse::Redraw(Surface& back, const DrawCall& call) const {
    if (!m_changed.Meets(call.bounds)) return;
    for (const ScreenRect& area : m_changed) {
        if (area.Meets(call.bounds)) DrawNotedCall(back, call, &area);
    }
}

void ScreenReuse::Materialise(Surface& back) {
    m_phase = Phase::Drawn;
    // The last frame's calls not matched yet drew where this frame has drawn nothing so far.
    for (size_t i = m_count; i < m_calls.size(); ++i) m_changed.Add(m_calls[i].bounds);
    const Surface& front = State().front;
    const Surface* base = BaseOf(front, back);
    if (base == nullptr) m_changed.SetWhole(back.width, back.height);
    const size_t change = FirstChange();
    if (change < m_backgroundCalls || m_count < m_backgroundCalls || !SameShape(m_background, back)) DropBackground();
    // The calls that stayed the same over the last frames make a background
    // worth keeping: this frame is drawn whole once, to keep it on the way.
    const size_t steady = std::min(SteadyFirstChange(change), m_count);
    if (steady >= m_backgroundCalls + kMinGain) {
        DrawWhole(back, steady);
        return;
    }
    if (m_changed.Whole() && m_backgroundCalls == 0) {
        DrawWhole(back, 0);
        return;
    }
    const size_t from = m_backgroundCalls;
    if (base == &front && !m_changed.Whole()) BringBackToShown(front, back);
    back.pictureId = 0;  // drawn on from here; it gets its own picture at the flip
    for (const ScreenRect& area : m_changed) Restore(back, area, from);
    for (size_t i = from; i < m_count; ++i) Redraw(back, m_calls[i]);
}

void ScreenReuse::DrawWhole(Surface& back, size_t keepAt) {
    back.Fill(0);
    for (size_t i = 0; i < m_count; ++i) {
        if (i == keepAt && keepAt != 0) {
            m_background = back;
            m_backgroundCalls = keepAt;
        }
        DrawNotedCall(back, m_calls[i], nullptr);
    }
    if (keepAt != 0 && keepAt == m_count) {
        m_background = back;
        m_backgroundCalls = keepAt;
    }
}

void ScreenReuse::BringBackToShown(const Surface& front, Surface& back) const {
    const bool holdsShown = back.pictureId == m_shownId;
    const bool holdsBefore = back.pictureId != 0 && back.pictureId == m_beforeId && !m_shownChanged.Whole();
    if (!SameShape(front, back) || !(holdsShown || holdsBefore)) {
        back = front;
        return;
    }
    // The rows drawn on since it showed its picture, then where the two pictures differ.
    for (int y = 0; back.touched && y < back.height; ++y) {
        const size_t row = static_cast<size_t>(y);
        if (back.touchedFirst[row] < back.touchedEnd[row])
            CopyRect(front, back, ScreenRect{back.touchedFirst[row], y, back.touchedEnd[row], y + 1});
    }
    if (holdsShown) return;
    for (const ScreenRect& area : m_shownChanged) {
        if (!m_changed.Holding(area)) CopyRect(front, back, area);  // otherwise made again whole below
    }
}

void ScreenReuse::Restore(Surface& back, const ScreenRect& area, size_t from) const {
    if (from == 0) ClearRect(back, area);
    else CopyRect(m_background, back, area);
}

}  // namespace media
