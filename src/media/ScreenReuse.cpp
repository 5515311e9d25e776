#include "media/ScreenReuse.h"

#include "media/Renderer.h"

namespace media {

namespace {

// Calls noted per frame at most; a frame with more is drawn without reuse.
constexpr size_t kMaxCalls = size_t{1} << 16;

bool SameShape(const Surface& a, const Surface& b) {
    return a.width == b.width && a.height == b.height && a.format == b.format;
}

}  // namespace

bool ScreenReuse::BeginFrame() {
    // The frame that ends becomes the reference. Its picture stays when it shows
    // calls this frame really made.
    const bool complete = phase_ != Phase::Off;
    if (complete && phase_ != Phase::Diverged && phase_ != Phase::Ended && matched_ < pictureCalls_) DropPicture();
    if (complete) {
        reference_.swap(calls_);
    } else {
        reference_.clear();
        DropPicture();
    }
    calls_.clear();
    matched_ = 0;
    phase_ = enabled_ ? Phase::Deferred : Phase::Off;
    return enabled_;
}

bool ScreenReuse::SkipImage(int x, int y, int handle, bool transparent, bool mirrored, const DrawState& state,
                            Surface& back) {
    // The call is written where it is kept, field by field, and compared there.
    DrawCall* call = Note(state, back);
    if (!call) return false;
    call->kind = mirrored ? DrawCall::kMirroredImage : DrawCall::kImage;
    call->x1 = x;
    call->y1 = y;
    call->x2 = handle;
    call->y2 = transparent ? 1 : 0;
    return Decide(*call, back);
}

bool ScreenReuse::SkipRect(int x1, int y1, int x2, int y2, uint32_t colour, int fill, const DrawState& state,
                           Surface& back) {
    DrawCall* call = Note(state, back);
    if (!call) return false;
    call->kind = DrawCall::kRect;
    call->x1 = x1;
    call->y1 = y1;
    call->x2 = x2;
    call->y2 = y2;
    call->colour = colour;
    call->fill = fill;
    return Decide(*call, back);
}

DrawCall* ScreenReuse::Note(const DrawState& state, Surface& back) {
    if (phase_ == Phase::Off || phase_ == Phase::Ended) return nullptr;
    if (calls_.size() >= kMaxCalls) {
        Settle(back);
        phase_ = Phase::Off;
        return nullptr;
    }
    DrawCall& call = calls_.emplace_back();
    call.blendMode = state.blendMode;
    call.blendParam = state.blendParam;
    call.brightR = state.brightR;
    call.brightG = state.brightG;
    call.brightB = state.brightB;
    return &call;
}

bool ScreenReuse::Decide(const DrawCall& call, Surface& back) {
    if (phase_ == Phase::Deferred) {
        if (matched_ < pictureCalls_ && call == reference_[matched_]) {
            ++matched_;
            return true;
        }
        Materialise(back);
    }
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
    phase_ = Phase::Matching;
    if (havePicture_ && matched_ == pictureCalls_ && SameShape(picture_, back)) {
        back = picture_;
        return;
    }
    back.Fill(0);
    for (size_t i = 0; i < matched_; ++i) DrawNotedCall(back, calls_[i]);
}

void ScreenReuse::Diverge(const Surface& back) {
    phase_ = Phase::Diverged;
    if (havePicture_ && matched_ == pictureCalls_) return;
    if (matched_ == 0) DropPicture();
    else TakePicture(back);
}

void ScreenReuse::TakePicture(const Surface& back) {
    picture_ = back;
    pictureCalls_ = matched_;
    havePicture_ = true;
}

void ScreenReuse::DropPicture() {
    pictureCalls_ = 0;
    havePicture_ = false;
}

}  // namespace media
