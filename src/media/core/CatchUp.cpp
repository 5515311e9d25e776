#include "media/core/CatchUp.h"

#include <cstring>

#include "media/core/MediaState.h"
#include "media/core/OperationLock.h"
#include "media/platform/Platform.h"
#include "media/sound/SoundSystem.h"
#include "media/video/PixelMath.h"

namespace media {

namespace {

constexpr uint32_t kProgressAfterMillis = 500;
constexpr uint32_t kProgressEveryMillis = 50;
// The window is looked at on one frame in this many while catching up.
constexpr uint32_t kPumpEvery = 256;

struct CatchUpState {
    bool on = false;
    uint8_t keys[256] = {};
    uint32_t clock = 0;        // the virtual clock while catching up
    uint32_t clockOffset = 0;  // afterwards: added to the platform's clock
    uint32_t startMillis = 0;  // the platform's clock when catching up began
    uint32_t shownMillis = 0;  // when the bar was last shown
    bool shown = false;
    uint32_t pumpCount = 0;
};

CatchUpState& TheCatchUp() {
    static CatchUpState* state = new CatchUpState();  // lives until process exit
    return *state;
}

template <class F>
void FillRect(Surface& s, typename F::Pixel* pixels, int x0, int y0, int x1, int y1, uint32_t rgb) {
    const typename F::Pixel p = F::FromRgb(rgb);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) pixels[static_cast<size_t>(y) * static_cast<size_t>(s.width) + x] = p;
}

void FillRect(Surface& s, int x0, int y0, int x1, int y1, uint32_t rgb) {
    switch (s.format) {
        case PixelFormat::Indexed8: FillRect<Indexed8>(s, s.p8.data(), x0, y0, x1, y1, rgb); break;
        case PixelFormat::Rgb565: FillRect<Rgb565>(s, s.p16.data(), x0, y0, x1, y1, rgb); break;
        case PixelFormat::Xrgb8888: FillRect<Xrgb8888>(s, s.p32.data(), x0, y0, x1, y1, rgb); break;
    }
}

// A bar across the middle of a black screen, filled as far as `done`.
void PresentBar(double done) {
    const MediaState& st = State();
    Surface bar;
    bar.Allocate(st.screenWidth, st.screenHeight, st.Format());
    const int left = st.screenWidth / 8, right = st.screenWidth - left;
    const int top = st.screenHeight / 2 - 3, bottom = st.screenHeight / 2 + 3;
    FillRect(bar, left - 1, top - 1, right + 1, bottom + 1, 0x808080);
    FillRect(bar, left, top, right, bottom, 0x000000);
    const double part = done < 0 ? 0 : done > 1 ? 1 : done;
    FillRect(bar, left, top, left + static_cast<int>((right - left) * part), bottom, 0xFFFFFF);
    CurrentPlatform().Present(bar.Data(), bar.width, bar.height, bar.Pitch(), bar.format);
}

}  // namespace

void BeginCatchUp(const uint8_t keys[256]) {
    OperationGuard guard;
    CatchUpState& c = TheCatchUp();
    c.on = true;
    std::memcpy(c.keys, keys, sizeof c.keys);
    c.keys[0] = 0;
    c.clock = CurrentPlatform().NowMillis() + c.clockOffset;
    c.startMillis = CurrentPlatform().NowMillis();
    c.shown = false;
    SilenceSound(true);
}

void SetCatchUpKeys(const uint8_t keys[256]) {
    OperationGuard guard;
    std::memcpy(TheCatchUp().keys, keys, sizeof TheCatchUp().keys);
    TheCatchUp().keys[0] = 0;
}

void ShowCatchUpProgress(double done) {
    OperationGuard guard;
    CatchUpState& c = TheCatchUp();
    if (!c.on || !State().running) return;
    const uint32_t now = CurrentPlatform().NowMillis();
    if (now - c.startMillis < kProgressAfterMillis) return;
    if (c.shown && now - c.shownMillis < kProgressEveryMillis) return;
    PresentBar(done);
    c.shown = true;
    c.shownMillis = now;
}

void EndCatchUp() {
    OperationGuard guard;
    CatchUpState& c = TheCatchUp();
    if (!c.on) return;
    c.on = false;
    c.clockOffset = c.clock - CurrentPlatform().NowMillis();
    StopSoundsPlayedOnce();
    SilenceSound(false);
}

bool CatchingUp() { return TheCatchUp().on; }

bool ReadCatchUpKeys(uint8_t keys[256]) {
    const CatchUpState& c = TheCatchUp();
    if (!c.on) return false;
    std::memcpy(keys, c.keys, sizeof c.keys);
    return true;
}

uint32_t GameMillis() {
    const CatchUpState& c = TheCatchUp();
    return c.on ? c.clock : CurrentPlatform().NowMillis() + c.clockOffset;
}

void SetGameMillis(uint32_t millis) {
    OperationGuard guard;
    CatchUpState& c = TheCatchUp();
    if (c.on) c.clock = millis;
    else c.clockOffset = millis - CurrentPlatform().NowMillis();
}

bool SleepCaughtUp(uint32_t ms) {
    CatchUpState& c = TheCatchUp();
    if (!c.on) return false;
    c.clock += ms;
    return true;
}

bool SkipMessagePump() {
    CatchUpState& c = TheCatchUp();
    return c.on && ++c.pumpCount % kPumpEvery != 0;
}

}  // namespace media
