#include "media/video/ScreenReuse.h"

#include <cstring>

#include "media/video/Renderer.h"

namespace media {

namespace {

// Calls noted per frame at most; a frame with more is drawn without reuse.
constexpr size_t kMaxCalls = size_t{1} << 16;
// Draws a new picture must spare beyond the latest kept to be taken.
constexpr size_t kMinGain = 8;
constexpr size_t kMaxPictures = 2;

bool SameShape(const Surface& a, const Surface& b) {
    return a.width == b.width && a.height == b.height && a.format == b.format;
}

}  // namespace

DrawCall DrawCall::Image(int x, int y, int handle, bool transparent, bool mirrored, const DrawState& state) {
    return DrawCall{mirrored ? kMirroredImage : kImage,
                    x,
                    y,
                    handle,
                    transparent ? 1 : 0,
                    0,
                    0,
                    state.blendMode,
                    state.blendParam,
                    state.brightR,
                    state.brightG,
                    state.brightB,
                    nullptr};
}

DrawCall DrawCall::Rect(int x1, int y1, int x2, int y2, uint32_t colour, int fill, const DrawState& state) {
    return DrawCall{kRect,
                    x1,
                    y1,
                    x2,
                    y2,
                    colour,
                    fill,
                    state.blendMode,
                    state.blendParam,
                    state.brightR,
                    state.brightG,
                    state.brightB,
                    nullptr};
}

DrawCall DrawCall::Text(int x, int y, std::shared_ptr<const TextRun> run, uint32_t colour, const DrawState& state) {
    return DrawCall{kText,
                    x,
                    y,
                    0,
                    0,
                    colour,
                    0,
                    state.blendMode,
                    state.blendParam,
                    state.brightR,
                    state.brightG,
                    state.brightB,
                    std::move(run)};
}

bool ScreenReuse::BeginFrame(Surface& back) {
    // The frame that ends becomes the reference. Its pictures stay when they show
    // calls this frame really made. A frame still deferred made the reference's
    // first `matched_` calls and no others; one that repeated them all without
    // being flipped is still on the back screen, and may give a picture.
    if (phase_ == Phase::Deferred) {
        reference_.resize(matched_);
        DropPicturesAfter(matched_);
    } else if (phase_ == Phase::Off) {
        reference_.clear();
        pictures_.clear();
    } else {
        if (phase_ == Phase::Matching) Diverge(back);
        reference_.swap(calls_);
    }
    calls_.clear();
    matched_ = 0;
    phase_ = enabled_ ? Phase::Deferred : Phase::Off;
    return enabled_;
}

bool ScreenReuse::NoteImage(int x, int y, int handle, bool transparent, bool mirrored, const DrawState& state,
                            Surface& back) {
    return NoteDrawn(DrawCall::Image(x, y, handle, transparent, mirrored, state), back);
}

// While deferred, a call that repeats the reference's next one is only counted:
// the fields are compared where the reference keeps them, nothing is written.

bool ScreenReuse::SkipRect(int x1, int y1, int x2, int y2, uint32_t colour, int fill, const DrawState& state,
                           Surface& back) {
    const DrawCall call = DrawCall::Rect(x1, y1, x2, y2, colour, fill, state);
    if (phase_ == Phase::Deferred && matched_ < SkippableCalls() && call == reference_[matched_]) {
        ++matched_;
        return true;
    }
    return NoteDrawn(call, back);
}

bool ScreenReuse::SkipText(int x, int y, const std::shared_ptr<const TextRun>& run, uint32_t colour,
                           const DrawState& state, Surface& back) {
    if (phase_ == Phase::Deferred && matched_ < SkippableCalls()) {
        const DrawCall& next = reference_[matched_];
        if (next.kind == DrawCall::kText && next.run == run && next.x1 == x && next.y1 == y &&
            next.colour == colour && next.InState(state)) {
            ++matched_;
            return true;
        }
    }
    return NoteDrawn(DrawCall::Text(x, y, run, colour, state), back);
}

bool ScreenReuse::NoteDrawn(const DrawCall& call, Surface& back) {
    if (phase_ == Phase::Off || phase_ == Phase::Ended) return false;
    Settle(back);
    if (calls_.size() >= kMaxCalls) {
        phase_ = Phase::Off;
        return false;
    }
    calls_.push_back(call);
    if (phase_ == Phase::Matching) {
        if (matched_ < reference_.size() && call == reference_[matched_]) ++matched_;
        else Diverge(back);
    }
    return false;
}

void ScreenReuse::DrawUnnoted(Surface& back) {
    if (phase_ == Phase::Deferred) Materialise(back);
    if (phase_ == Phase::Matching) Diverge(back);
}

void ScreenReuse::Settle(Surface& back) {
    if (phase_ == Phase::Deferred) Materialise(back);
}

void ScreenReuse::EndFrame(Surface& back) {
    Settle(back);
    if (phase_ == Phase::Matching) Diverge(back);  // the whole frame repeated the reference so far
    if (phase_ == Phase::Diverged) phase_ = Phase::Ended;
}

void ScreenReuse::Forget(Surface& back) {
    Settle(back);
    reference_.clear();
    pictures_.clear();
    phase_ = Phase::Off;
}

void ScreenReuse::SetEnabled(bool enabled, Surface& back) {
    Forget(back);
    enabled_ = enabled;
}

void ScreenReuse::Materialise(Surface& back) {
    // The calls counted while deferred are the reference's first ones.
    calls_.assign(reference_.begin(), reference_.begin() + static_cast<std::ptrdiff_t>(matched_));
    phase_ = Phase::Matching;
    const Picture* from = nullptr;
    for (const Picture& p : pictures_)
        if (p.calls <= matched_ && SameShape(p.screen, back)) from = &p;
    size_t drawn = 0;
    if (from) {
        // A screen made from this picture before needs only the rows drawn on since.
        if (back.pictureId == from->id) RestoreTouched(*from, back);
        else back = from->screen;
        back.ShowsPicture(from->id);
        drawn = from->calls;
    } else {
        back.Fill(0);
    }
    for (size_t i = drawn; i < matched_; ++i) DrawNotedCall(back, calls_[i]);
}

void ScreenReuse::Diverge(Surface& back) {
    phase_ = Phase::Diverged;
    DropPicturesAfter(matched_);
    // A picture that still serves is kept unless a new one would spare a good
    // many more draws: frames whose moving figures come first now and then
    // would otherwise have pictures taken again and again.
    if (matched_ == 0 || (!pictures_.empty() && matched_ < pictures_.back().calls + kMinGain)) return;
    TakePicture(back);
}

void ScreenReuse::TakePicture(Surface& back) {
    if (pictures_.size() == kMaxPictures) pictures_.erase(pictures_.begin());
    Picture& p = pictures_.emplace_back();
    p.screen = back;
    p.calls = matched_;
    p.id = ++lastPictureId_;
    p.screen.ShowsPicture(p.id);
    back.ShowsPicture(p.id);
}

void ScreenReuse::DropPicturesAfter(size_t calls) {
    while (!pictures_.empty() && pictures_.back().calls > calls) pictures_.pop_back();
}

void ScreenReuse::RestoreTouched(const Picture& picture, Surface& back) {
    const size_t pitch = static_cast<size_t>(back.Pitch());
    const size_t bytesPerPixel = pitch / static_cast<size_t>(back.width);
    const uint8_t* from = static_cast<const uint8_t*>(picture.screen.Data());
    for (size_t y = 0; y < static_cast<size_t>(back.height); ++y) {
        const int first = back.touchedFirst[y], end = back.touchedEnd[y];
        if (first >= end) continue;
        const size_t at = y * pitch + static_cast<size_t>(first) * bytesPerPixel;
        std::memcpy(back.Bytes() + at, from + at, static_cast<size_t>(end - first) * bytesPerPixel);
    }
}

}  // namespace media
