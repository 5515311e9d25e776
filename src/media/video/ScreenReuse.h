// Reuse of the back screen's picture from one frame to the next.
//
// A frame here is what is drawn on the back screen after ClearScreen. Games
// draw much the same frame again and again: the map, the window frames and the
// status icons come first and do not change, the moving figures come later. So
// every image, rectangle and text draw on the back screen is noted with the
// drawing state it was made in. While a frame's draws repeat the previous
// frame's, call for call, they are only noted; the picture those same draws
// made last time was kept, and it is copied in at the first draw that differs,
// or whenever the back screen is looked at. Drawing the calls that follow then
// goes on as usual. The pixels are the same as if every call had been drawn.
//
// What keeps that true: a picture is always a copy of a real back screen,
// taken at a point where every draw since the clear was noted; it is dropped
// when the images change (a handle could name other pixels) or the screens are
// made again; a draw that is not noted ends the reuse for that frame.
//
// Two pictures are kept, at two points of the frame: when something early in
// the frame changes now and then (an animated icon), the earlier picture still
// serves, and the calls between it and the change are drawn on it. A screen
// that was made from the same picture before (the screens swap every frame)
// only gets back the rows drawn on since: every draw notes them.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "media/core/MediaState.h"
#include "media/text/TextRun.h"

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

    static DrawCall Image(int x, int y, int handle, bool transparent, bool mirrored, const DrawState& state);
    static DrawCall Rect(int x1, int y1, int x2, int y2, uint32_t colour, int fill, const DrawState& state);
    static DrawCall Text(int x, int y, std::shared_ptr<const TextRun> run, uint32_t colour, const DrawState& state);
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
    // A draw on the back screen. True when it repeats the previous frame's and
    // need not be drawn now; otherwise the caller draws it on Back().
    bool SkipImage(int x, int y, int handle, bool transparent, bool mirrored, const DrawState& state, Surface& back) {
        if (RepeatsImage(x, y, handle, transparent, mirrored, state)) {
            ++matched_;
            return true;
        }
        return NoteImage(x, y, handle, transparent, mirrored, state, back);
    }
    bool SkipRect(int x1, int y1, int x2, int y2, uint32_t colour, int fill, const DrawState& state, Surface& back);
    bool SkipText(int x, int y, const std::shared_ptr<const TextRun>& run, uint32_t colour, const DrawState& state,
                  Surface& back);
    // A draw on the back screen that is not noted: reuse ends for this frame.
    void DrawUnnoted(Surface& back);
    // True while the back screen does not yet hold what was asked for.
    bool Pending() const { return phase_ == Phase::Deferred; }
    // Makes the back screen hold the clear and the skipped draws.
    void Settle(Surface& back);
    // FlipScreen: the frame is complete; the back screen changes hands after this.
    void EndFrame(Surface& back);
    // The images or the screens change: settles, then forgets the pictures.
    void Forget(Surface& back);
    // For tests: with reuse off every call is drawn at once.
    void SetEnabled(bool enabled, Surface& back);

private:
    enum class Phase {
        Off,       // the frame did not start with a clear, or noting stopped
        Deferred,  // the calls so far repeat the reference; nothing drawn yet
        Matching,  // drawn, and the calls so far still repeat the reference
        Diverged,  // drawn; the calls differ from the reference
        Ended,     // flipped; draws until the next clear are not part of the frame
    };

    // The back screen after the reference's first `calls` calls.
    struct Picture {
        Surface screen;
        size_t calls = 0;
        uint64_t id = 0;  // never 0, never used twice
    };

    // While deferred: the image draw is the reference's next call, and the
    // latest picture shows it. The fields are compared where the reference
    // keeps them; nothing is written.
    bool RepeatsImage(int x, int y, int handle, bool transparent, bool mirrored, const DrawState& state) const {
        if (phase_ != Phase::Deferred || matched_ >= SkippableCalls()) return false;
        const DrawCall& next = reference_[matched_];
        return next.kind == (mirrored ? DrawCall::kMirroredImage : DrawCall::kImage) && next.x1 == x &&
               next.y1 == y && next.x2 == handle && next.y2 == (transparent ? 1 : 0) && next.InState(state);
    }
    bool NoteImage(int x, int y, int handle, bool transparent, bool mirrored, const DrawState& state, Surface& back);
    // Notes a call that is drawn now (false, for the caller to return).
    bool NoteDrawn(const DrawCall& call, Surface& back);
    // Calls that may be skipped while deferred: those the latest picture shows.
    size_t SkippableCalls() const { return pictures_.empty() ? 0 : pictures_.back().calls; }
    // Draws what the deferred frame holds: the latest picture that serves and
    // the calls after it, or the clear and all the calls so far.
    void Materialise(Surface& back);
    // The frame's calls stop repeating the reference here.
    void Diverge(Surface& back);
    void TakePicture(Surface& back);
    // Forgets the pictures that show more calls than the frame repeated.
    void DropPicturesAfter(size_t calls);
    // Copies back the rows of a screen made from the picture that were drawn on since.
    static void RestoreTouched(const Picture& picture, Surface& back);

    bool enabled_ = true;
    Phase phase_ = Phase::Off;
    std::vector<DrawCall> reference_;  // the previous frame's calls
    std::vector<DrawCall> calls_;      // this frame's calls (while deferred: the reference's first matched_)
    size_t matched_ = 0;               // leading calls of this frame equal to the reference's
    std::vector<Picture> pictures_;    // at most two, the one showing fewer calls first
    uint64_t lastPictureId_ = 0;
};

}  // namespace media
