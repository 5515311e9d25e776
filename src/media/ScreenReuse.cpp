#include "media/ScreenReuse.h"

#include <cstring>

#include "media/Renderer.h"

namespace media {

namespace {

// Calls noted per frame at most; a frame with more is drawn without reuse.
constexpr size_t kMaxCalls = size_t{1} << 16;

bool SameShape(const Surface& a, const Surface& b) {
    return a.width == b.width && a.height == b.height && a.format == b.format;
}

}  // namespace

DrawCall DrawCall::Image(int x, int y, int handle, bool transparent, bool mirrored, const DrawState& state) {
    return DrawCall{mirrored ? kMirroredImage : kImage, x, y, handle, transparent ? 1 : 0, 0, 0,
                    state.blendMode, state.blendParam, state.brightR, state.brightG, state.brightB};
}

DrawCall DrawCall::Rect(int x1, int y1, int x2, int y2, uint32_t colour, int fill, const DrawState& state) {
    return DrawCall{kRect, x1, y1, x2, y2, colour, fill,
                    state.blendMode, state.blendParam, state.brightR, state.brightG, state.brightB};
}

bool ScreenReuse::BeginFrame() {
    // The frame that ends becomes the reference. Its picture stays when it shows
    // calls this frame really made. A frame still deferred made the reference's
    // first `matched_` calls and no others.
    if (phase_ == Phase::Deferred) {
        reference_.resize(matched_);
        if (matched_ < pictureCalls_) DropPicture();
    } else if (phase_ == Phase::Off) {
        reference_.clear();
        DropPicture();
    } else {
        if (phase_ == Phase::Matching && matched_ < pictureCalls_) DropPicture();
        reference_.swap(calls_);
    }
    calls_.clear();
    matched_ = 0;
    phase_ = enabled_ ? Phase::Deferred : Phase::Off;
    return enabled_;
}

// While deferred, a call that repeats the reference's next one is only counted:
// the fields are compared where the reference keeps them, nothing is written.
bool ScreenReuse::SkipImage(int x, int y, int handle, bool transparent, bool mirrored, const DrawState& state,
                            Surface& back) {
    if (phase_ == Phase::Deferred && matched_ < pictureCalls_) {
        const DrawCall& next = reference_[matched_];
        if (next.kind == (mirrored ? DrawCall::kMirroredImage : DrawCall::kImage) && next.x1 == x && next.y1 == y &&
            next.x2 == handle && next.y2 == (transparent ? 1 : 0) && next.InState(state)) {
            ++matched_;
            return true;
        }
    }
    return NoteDrawn(DrawCall::Image(x, y, handle, transparent, mirrored, state), back);
}

bool ScreenReuse::SkipRect(int x1, int y1, int x2, int y2, uint32_t colour, int fill, const DrawState& state,
                           Surface& back) {
    const DrawCall call = DrawCall::Rect(x1, y1, x2, y2, colour, fill, state);
    if (phase_ == Phase::Deferred && matched_ < pictureCalls_ && call == reference_[matched_]) {
        ++matched_;
        return true;
    }
    return NoteDrawn(call, back);
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
    if (phase_ == Phase::Matching) Diverge(back);   // the whole frame repeated the reference so far
    if (phase_ == Phase::Diverged) phase_ = Phase::Ended;
}

void ScreenReuse::Forget(Surface& back) {
    Settle(back);
    reference_.clear();
    DropPicture();
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
    if (havePicture_ && matched_ == pictureCalls_ && SameShape(picture_, back)) {
        // A screen made from this picture before needs only the rows drawn on since.
        if (back.pictureId == pictureId_) RestoreTouched(back);
        else back = picture_;
        back.ShowsPicture(pictureId_);
        return;
    }
    back.Fill(0);
    for (size_t i = 0; i < matched_; ++i) DrawNotedCall(back, calls_[i]);
}

void ScreenReuse::Diverge(Surface& back) {
    phase_ = Phase::Diverged;
    if (havePicture_ && matched_ == pictureCalls_) return;
    if (matched_ == 0) DropPicture();
    else TakePicture(back);
}

void ScreenReuse::TakePicture(Surface& back) {
    picture_ = back;
    pictureCalls_ = matched_;
    havePicture_ = true;
    pictureId_ = ++lastPictureId_;
    picture_.ShowsPicture(pictureId_);
    back.ShowsPicture(pictureId_);
}

void ScreenReuse::RestoreTouched(Surface& back) {
    const size_t pitch = static_cast<size_t>(back.Pitch());
    const size_t bytesPerPixel = pitch / static_cast<size_t>(back.width);
    for (size_t y = 0; y < static_cast<size_t>(back.height); ++y) {
        const int first = back.touchedFirst[y], end = back.touchedEnd[y];
        if (first >= end) continue;
        const size_t at = y * pitch + static_cast<size_t>(first) * bytesPerPixel;
        std::memcpy(back.Bytes() + at, picture_.Bytes() + at, static_cast<size_t>(end - first) * bytesPerPixel);
    }
}

void ScreenReuse::DropPicture() {
    pictureCalls_ = 0;
    havePicture_ = false;
}

}  // namespace media
