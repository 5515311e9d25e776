// The drawing operations on the way to the renderer (Renderer.h): a draw on
// the back screen first meets the screen reuse (ScreenReuse.h), which may note
// it instead of drawing it now. The setters of the drawing state are here too.
#include "media/video/DrawOperations.h"

#include <algorithm>

#include "media/Media.h"
#include "media/core/MediaState.h"
#include "media/core/OperationLock.h"
#include "media/video/Renderer.h"
#include "media/video/ScreenReuse.h"

namespace media {
namespace {

int DrawImageCommon(int x, int y, int handle, int transparent, bool mirrored) {
    OperationGuard guard;
    MediaState& st = State();
    Image* im = st.images.Find(handle);
    if (!im) return -1;
    if (st.draw.target == -2 &&
        st.reuse->SkipImage(x, y, handle, im->width, im->height, transparent != 0, mirrored, st.draw, st.back))
        return 0;
    Surface* target = st.Target();
    if (!target) return 0;
    DrawImageOn(*target, *im, x, y, transparent != 0, mirrored);
    return 0;
}

int Clamp255(int v) { return std::clamp(v, 0, 255); }

}  // namespace

void DrawCoverageMask(int x, int y, const uint8_t* mask, int width, int height, int pitch, uint32_t colour) {
    OperationGuard guard;
    MediaState& st = State();
    if (st.draw.target == -2) st.reuse->DrawUnnoted(st.back);
    Surface* target = st.Target();
    if (!target || !mask || width <= 0 || height <= 0) return;
    DrawMaskOn(*target, x, y, mask, width, height, pitch, colour);
}

}  // namespace media

namespace media {
namespace {

// Inside a batch, while the screen reuse only notes the frame's calls, an image
// draw is a handle lookup and a comparison: done here, without taking the lock
// again. False when the draw takes the common way.
[[gnu::always_inline]] inline bool NotedInBatch(int x, int y, int handle, int transparent, bool mirrored) {
    if (!TheOperationLock().HeldHere()) return false;
    MediaState& st = State();
    if (st.draw.target != kBackScreen || !st.reuse->Pending()) return false;
    const Image* im = st.images.Find(handle);
    return im &&
           st.reuse->SkipImage(x, y, handle, im->width, im->height, transparent != 0, mirrored, st.draw, st.back);
}

// The shortest way: the draw repeats the shown frame's call at this place. It
// calls nothing, so the callers keep it free of any set-up. The handle needs no
// lookup: the shown frame drew it, and freeing an image forgets the shown frame.
[[gnu::always_inline]] inline bool RepeatedInBatch(int x, int y, int handle, int transparent, bool mirrored) {
    if (!TheOperationLock().HeldHere()) return false;
    MediaState& st = State();
    return st.draw.target == kBackScreen &&
           st.reuse->SkipRepeatedImage(x, y, handle, transparent != 0, mirrored, st.draw);
}

[[gnu::noinline]] int DrawImageAnyWay(int x, int y, int handle, int transparent, bool mirrored) {
    if (NotedInBatch(x, y, handle, transparent, mirrored)) return 0;
    return DrawImageCommon(x, y, handle, transparent, mirrored);
}

}  // namespace
}  // namespace media

using namespace media;

int op::DrawImage(int x, int y, int handle, int transparent) {
    if (RepeatedInBatch(x, y, handle, transparent, false)) return 0;
    return DrawImageAnyWay(x, y, handle, transparent, false);
}

int op::DrawImageMirrored(int x, int y, int handle, int transparent) {
    if (RepeatedInBatch(x, y, handle, transparent, true)) return 0;
    return DrawImageAnyWay(x, y, handle, transparent, true);
}

int op::DrawRect(int x1, int y1, int x2, int y2, uint32_t colour, int fill) {
    OperationGuard guard;
    MediaState& st = State();
    if (st.draw.target == -2 && st.reuse->SkipRect(x1, y1, x2, y2, colour, fill, st.draw, st.back)) return 0;
    Surface* target = st.Target();
    if (!target) return 0;
    DrawRectOn(*target, x1, y1, x2, y2, colour, fill);
    return 0;
}

namespace {

// The setters below run hundreds of times a frame, mostly inside the caller's
// batch: there the lock is held already and is not taken again, and the
// setting is a few stores.
[[gnu::always_inline]] inline int SetBlendModeHeld(int mode, int param) {
    DrawState& d = State().draw;
    d.blendMode = mode;
    d.blendParam = Clamp255(param);
    return 0;
}

[[gnu::always_inline]] inline int SetDrawBrightnessHeld(int r, int g, int b) {
    DrawState& d = State().draw;
    d.brightR = Clamp255(r);
    d.brightG = Clamp255(g);
    d.brightB = Clamp255(b);
    return 0;
}

// Outside a batch.
[[gnu::noinline]] int SetBlendModeAlone(int mode, int param) {
    OperationGuard guard;
    return SetBlendModeHeld(mode, param);
}

[[gnu::noinline]] int SetDrawBrightnessAlone(int r, int g, int b) {
    OperationGuard guard;
    return SetDrawBrightnessHeld(r, g, b);
}

}  // namespace

int op::SetBlendMode(int mode, int param) {
    if (!TheOperationLock().HeldHere()) return SetBlendModeAlone(mode, param);
    return SetBlendModeHeld(mode, param);
}

int op::SetDrawBrightness(int r, int g, int b) {
    if (!TheOperationLock().HeldHere()) return SetDrawBrightnessAlone(r, g, b);
    return SetDrawBrightnessHeld(r, g, b);
}

namespace {

// Outside a batch: the three operations one by one.
[[gnu::noinline]] int DrawImageBlendedAlone(int x, int y, int handle, bool mirrored, const DrawShade& shade) {
    SetBlendModeAlone(kBlendAlpha, shade.alpha);
    SetDrawBrightnessAlone(shade.r, shade.g, shade.b);
    return DrawImageAnyWay(x, y, handle, 1, mirrored);
}

}  // namespace

int op::DrawImageBlended(int x, int y, int handle, bool mirrored, const DrawShade& shade) {
    MediaState* made = MadeState();
    if (!TheOperationLock().HeldHere() || made == nullptr)
        return DrawImageBlendedAlone(x, y, handle, mirrored, shade);
    int alpha = shade.alpha, r = shade.r, g = shade.g, b = shade.b;
    if (((alpha | r | g | b) & ~0xFF) != 0) {  // rarely out of range
        alpha = Clamp255(alpha);
        r = Clamp255(r);
        g = Clamp255(g);
        b = Clamp255(b);
    }
    MediaState& st = *made;
    DrawState& d = st.draw;
    d.blendMode = kBlendAlpha;
    d.blendParam = alpha;
    d.brightR = r;
    d.brightG = g;
    d.brightB = b;
    // As RepeatedInBatch, the lock known.
    if (d.target == kBackScreen && st.reuse->SkipRepeatedImage(x, y, handle, true, mirrored, d)) return 0;
    return DrawImageAnyWay(x, y, handle, 1, mirrored);
}
