// Reuse of the shown picture for the next frame.
//
// A frame here is what is drawn on the back screen from ClearScreen to
// FlipScreen. Games draw much the same frame again and again: the map, the
// window frames and the status icons do not change; a few figures move. So
// every image, rectangle and text draw on the back screen is noted with the
// drawing state it was made in and the screen rectangle it can change, and
// while the frame is made nothing is drawn: its calls are only compared with
// the shown frame's, call for call. Where the i-th calls of the two frames are
// the same, they make the same pixels of the same pixels; so the two pictures
// can differ only inside the rectangles of the calls that differ (the old
// call's and the new one's) and of the shown frame's calls past this frame's
// last. When the picture is needed (the flip, the back screen looked at, a draw
// that is not noted) the back screen is made from the shown picture outside
// those rectangles and, inside them, from a clear and every call of the frame
// drawn clipped to them. The pixels are the same as if every call had been
// drawn.
//
// What keeps that true: every drawing operation works pixel by pixel (a
// pixel's new value depends on the call and on that pixel's old value only);
// the front screen is used only while it shows the last frame made this way,
// untouched since; the images do not change under a handle (loading or freeing
// an image forgets everything); a draw on the back screen that is not noted, a
// frame cleared again before it was shown, or a flip without a clear ends the
// reuse until the frame after.
//
// The screens swap at every flip, so the back screen usually holds the frame
// before the shown one: it gets back from the front only the rectangles where
// those two frames differ, and the rows drawn on since.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "media/core/MediaState.h"
#include "media/text/TextRun.h"
#include "media/video/DirtyArea.h"

namespace media {

// One image, rectangle or text draw on the back screen, with its drawing state.
struct DrawCall {
    enum Kind : int32_t { kImage, kMirroredImage, kRect, kText };
    int32_t kind = kImage;
    int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // images: x, y, handle, transparent flag; text: x, y
    uint32_t colour = 0;                     // rectangles: colour and fill flag; text: colour
    int32_t fill = 0;
    int32_t blendMode = 0, blendParam = 0, brightR = 0, brightG = 0, brightB = 0;
    // Text: its layout, kept alive while noted (a layout is never changed, so the
    // same one means the same pixels).
    std::shared_ptr<const TextRun> run;
    // The pixels of the screen the call can change (follows from the fields above).
    ScreenRect bounds;

    static DrawCall Image(int x, int y, int handle, int width, int height, bool transparent, bool mirrored,
                          const DrawState& state, const Surface& screen);
    static DrawCall Rect(int x1, int y1, int x2, int y2, uint32_t colour, int fill, const DrawState& state,
                         const Surface& screen);
    static DrawCall Text(int x, int y, std::shared_ptr<const TextRun> run, uint32_t colour, const DrawState& state,
                         const Surface& screen);
    // Made in this drawing state.
    bool InState(const DrawState& state) const {
        return blendMode == state.blendMode && blendParam == state.blendParam && brightR == state.brightR &&
               brightG == state.brightG && brightB == state.brightB;
    }
    bool operator==(const DrawCall&) const = default;
};

class ScreenReuse {
public:
    // ClearScreen on the back screen: a new frame starts. True when the clear
    // itself waits (reuse on); otherwise the caller clears.
    bool BeginFrame(Surface& back);
    // A draw on the back screen. True when it need not be drawn now (it is
    // noted, and drawn, if at all, when the picture is made); otherwise the
    // caller draws it on Back().
    bool SkipImage(int x, int y, int handle, int width, int height, bool transparent, bool mirrored,
                   const DrawState& state, Surface& back) {
        if (m_phase == Phase::Off || m_phase == Phase::Ended) return false;
        if (RepeatsImage(x, y, handle, transparent, mirrored, state)) {
            ++m_count;
            return true;
        }
        return NoteImage(x, y, handle, width, height, transparent, mirrored, state, back);
    }
    // The short way of SkipImage: true (and counted) only when the draw repeats
    // the shown frame's call at this place while deferred.
    bool SkipRepeatedImage(int x, int y, int handle, bool transparent, bool mirrored, const DrawState& state) {
        if (!RepeatsImage(x, y, handle, transparent, mirrored, state)) return false;
        ++m_count;
        return true;
    }
    // The short way of SkipText: true (and counted) only when the text draw
    // repeats the shown frame's call at this place while deferred, the same
    // bytes in the same font (so the same layout) without looking the layout up.
    bool SkipRepeatedText(int x, int y, uint64_t font, const char* text, uint32_t colour, const DrawState& state);
    bool SkipRect(int x1, int y1, int x2, int y2, uint32_t colour, int fill, const DrawState& state, Surface& back);
    bool SkipText(int x, int y, const std::shared_ptr<const TextRun>& run, uint32_t colour, const DrawState& state,
                  Surface& back);
    // A draw on the back screen that is not noted: reuse ends for this frame.
    void DrawUnnoted(Surface& back);
    // True while the back screen does not yet hold what was asked for.
    bool Pending() const { return m_phase == Phase::Deferred; }
    // Makes the back screen hold the clear and the calls so far.
    void Settle(Surface& back);
    // FlipScreen: the frame is complete; the back screen changes hands after this.
    void EndFrame(Surface& back);
    // The images or the screens change: settles, then forgets the shown frame.
    void Forget(Surface& back);
    // For tests: with reuse off every call is drawn at once.
    void SetEnabled(bool enabled, Surface& back);

private:
    enum class Phase {
        Off,       // the frame did not start with a clear, or noting stopped
        Deferred,  // noted and compared; nothing drawn yet
        Drawn,     // the back screen holds the calls so far; calls are noted and drawn
        Ended,     // flipped; draws until the next clear are not part of the frame
    };

    // While deferred: the image draw is the same as the shown frame's call at
    // this place. The fields are compared where that call keeps them.
    bool RepeatsImage(int x, int y, int handle, bool transparent, bool mirrored, const DrawState& state) const {
        if (m_phase != Phase::Deferred) return false;
        const DrawCall* at = m_calls.data() + m_count;
        if (at >= std::to_address(m_calls.end())) return false;
        const DrawCall& next = *at;
        return next.kind == (mirrored ? DrawCall::kMirroredImage : DrawCall::kImage) && next.x1 == x &&
               next.y1 == y && next.x2 == handle && next.y2 == (transparent ? 1 : 0) && next.InState(state);
    }
    // Notes a call made while deferred or drawn; true while deferred (the
    // caller need not draw it).
    bool Note(const DrawCall& call, Surface& back);
    // The frame made on the back screen becomes the one the next frame is
    // compared with; `before` is the picture of the frame before it (0: unknown).
    void KeepFrame(Surface& back, uint64_t before);
    [[gnu::noinline]] bool NoteImage(int x, int y, int handle, int width, int height, bool transparent, bool mirrored,
                                     const DrawState& state, Surface& back);
    // Puts the call in its place, marking where it differs from the shown frame's.
    void Record(const DrawCall& call);
    // The screen that shows the last frame's picture untouched: the back screen
    // (a frame made again before it was shown), the front screen, or none.
    const Surface* BaseOf(const Surface& front, const Surface& back) const;
    // Draws the deferred frame's calls so far on the back screen.
    void Materialise(Surface& back);
    // Makes the back screen show the shown picture.
    void BringBackToShown(const Surface& front, Surface& back) const;
    // Makes `area` hold the state after `from` calls: the background when
    // `from` is not 0, a clear otherwise.
    void Restore(Surface& back, const ScreenRect& area, size_t from) const;
    // Draws a call where it meets the changed parts, clipped to each (they
    // never overlap, so no pixel is drawn twice).
    // (Inline: it runs for every call after the background, every frame.)
    [[gnu::always_inline]] inline void Redraw(Surface& back, const DrawCall& call) const;
    // Draws the calls so far on a cleared back screen, keeping the background
    // on the way when `keepAt` is not 0.
    void DrawWhole(Surface& back, size_t keepAt);
    // Where the frame's calls first differ from the last frame's.
    size_t FirstChange() const;
    // The first change of the last frames (and this one): where a background
    // kept now would last.
    size_t SteadyFirstChange(size_t now) const;
    // The frame is complete: its first change is remembered; a background it
    // changed is dropped.
    void NoteFrameDone();
    void DropBackground();
    // Reuse ends until the next frame: the shown frame is forgotten.
    void Stop();

    bool m_enabled = true;
    Phase m_phase = Phase::Off;
    // The shown frame's calls; this frame's calls replace them as they come.
    std::vector<DrawCall> m_calls;
    size_t m_count = 0;        // calls of this frame so far
    DirtyArea m_changed;       // where this frame differs from the shown one, so far
    DirtyArea m_shownChanged;  // where the shown frame differed from the frame before it
    uint64_t m_shownId = 0;    // the shown frame's picture (0: none to reuse)
    uint64_t m_beforeId = 0;   // the picture of the frame before it (0: unknown)
    uint64_t m_lastId = 0;
    size_t m_firstChange = 0;  // the first call of this frame that differs from the last frame's so far
    // The back screen after the first m_backgroundCalls calls of the last frames
    // (0: none). Those calls have not changed since it was kept.
    Surface m_background;
    size_t m_backgroundCalls = 0;
    static constexpr size_t kRecentFrames = 64;
    std::array<size_t, kRecentFrames> m_recentFirstChanges{};  // 0 until known
    size_t m_recentAt = 0;
    size_t m_recentLeast = 0;  // the least of them
};

}  // namespace media
