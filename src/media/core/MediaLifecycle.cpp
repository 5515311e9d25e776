// Window and screen: mode, start and end, message pump, draw target, clear, flip.
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>

#include "media/Media.h"
#include "media/core/CatchUp.h"
#include "media/core/MediaLifecycle.h"
#include "media/core/Log.h"
#include "media/core/MediaState.h"
#include "media/core/MediaTexts.h"
#include "media/core/OperationLock.h"
#include "media/core/PlayerPrefs.h"
#include "media/core/Random.h"
#include "media/core/StartFailure.h"
#include "media/platform/Platform.h"
#include "media/shell/Shell.h"
#include "media/sound/SoundSystem.h"
#include "media/text/FontSystem.h"
#include "media/video/ScreenReuse.h"

namespace media {
namespace {

bool g_startFailed = false;

// While frozen (focus lost), how long one wait for window events lasts at most
// (an event ends it at once): four wake-ups a second keep the streams fed well
// within their 0.75 s rings.
constexpr uint32_t kFrozenWaitMillis = 250;

// On a platform whose presents wait for the blank, the game's first presents
// time the refresh period (FlipScreen); elsewhere it is decided at once.
void BeginRefreshPeriod(MediaState& st, Platform& platform) {
    st.refreshPeriod = -1;
    if (platform.PresentWaitsForBlank()) st.refreshMeter.Start();
    else st.refreshPeriod = st.refreshMeter.Decide(platform);
}

// Never two presents within one refresh: once the period is known, a present
// comes at least m = (2P - 4) / 3 ms after the end of the previous one. The
// time left is slept in one go (again only if the sleep ended early).
void WaitOutRefreshMinimum(const MediaState& st, Platform& platform) {
    if (!st.vsyncWait || st.refreshPeriod <= 0) return;
    const uint32_t m = static_cast<uint32_t>((2 * st.refreshPeriod - 4) / 3);
    for (uint32_t passed = platform.NowMillis() - st.lastVblankEnd; passed < m;
         passed = platform.NowMillis() - st.lastVblankEnd)
        platform.SleepMillis(m - passed);
}

void ResetDrawState(MediaState& st) { st.draw = DrawState(); }

// What a start has opened when the layer shuts down.
enum class Opened { Nothing, WindowAndLock, Everything };

// Shuts the layer down: the font configuration (the font setters may load it
// before any start), what the start opened, the screens.
void ShutDown(MediaState& st, Platform& platform, Opened opened) {
    EndFonts();
    if (opened != Opened::Nothing) {
        platform.CloseWindow();  // first: ending the sound may take a moment
        if (opened == Opened::Everything) EndSoundOutput();
        platform.ReleaseInstanceLock();
    }
    st.ForgetReuse();
    st.backStale = false;
    st.back = Surface();
    st.front = Surface();
    st.refreshMeter.Stop();
    st.running = false;
    st.ended = true;
    st.vsyncWait = false;
}

// Ends a failed start: the window (when made) and the single-instance lock go.
int FailStart(MediaState& st, Platform& platform) {
    ShutDown(st, platform, Opened::WindowAndLock);
    g_startFailed = true;
    return -1;
}

// A start that fails before the single-instance check writes its log only when
// no other copy runs (it takes the lock for that moment).
void KeepLogUnlessAnotherCopyRuns(Platform& platform) {
    if (platform.AcquireInstanceLock(InstanceLockName())) LogCommit();
    else LogDiscard();
}

}  // namespace

bool MediaStartFailed() {
    OperationGuard guard;
    return g_startFailed;
}

bool ClaimSingleInstance() {
    OperationGuard guard;
    return CurrentPlatform().AcquireInstanceLock(InstanceLockName());
}

}  // namespace media

using namespace media;

int op::SetScreenMode(int width, int height, int bitsPerPixel, int refreshRate) {
    OperationGuard guard;
    MediaState& st = State();
    const int w = width == -1 ? st.screenWidth : width;
    const int h = height == -1 ? st.screenHeight : height;
    const int bits = bitsPerPixel == -1 ? st.bitsPerPixel : bitsPerPixel;
    if (w <= 0 || h <= 0 || (bits != 8 && bits != 16 && bits != 32)) return -1;
    if (w > 16384 || h > 16384) {
        st.screenWidth = 640;
        st.screenHeight = 480;
        st.bitsPerPixel = 16;
        if (st.running) {
            st.ForgetReuse();
            st.backStale = false;
            st.back.Allocate(640, 480, PixelFormat::Rgb565);
            st.front.Allocate(640, 480, PixelFormat::Rgb565);
        }
        return -2;
    }
    st.screenWidth = w;
    st.screenHeight = h;
    st.bitsPerPixel = bits;
    if (refreshRate != -1) st.refreshRate = refreshRate;
    if (st.running) {
        st.ForgetReuse();
        st.backStale = false;
        st.back.Allocate(w, h, st.Format());
        st.front.Allocate(w, h, st.Format());
        CurrentPlatform().ResizeWindow(st.windowScale);
    }
    return 0;
}

int op::SetWindowScale(double rate) {
    OperationGuard guard;
    MediaState& st = State();
    // 0, not-a-number, negative and infinite rates all mean 1.0; at most 32.
    if (!std::isfinite(rate) || rate <= 0.0) rate = 1.0;
    if (rate > 32.0) rate = 32.0;
    if (rate == st.windowScale) return 0;
    st.windowScale = rate;
    if (st.running) CurrentPlatform().ResizeWindow(rate);
    return 0;
}

int op::ChangeWindowMode(int windowed) {
    OperationGuard guard;
    LogPrintf("%s", texts::kChangeWindowMode);
    MediaState& st = State();
    const bool want = windowed != 0;
    // A running window switches at once (the player may have switched it since).
    if (st.running && !CurrentPlatform().SetFullscreen(!want)) return -1;
    st.windowed = want;
    return 0;
}

int op::InitMediaLayer() {
    OperationGuard guard;
    MediaState& st = State();
    if (st.running) return 0;
    Platform& platform = CurrentPlatform();
    g_startFailed = false;
    st.ended = false;
    LogStart(platform.NowMillis());

    if ((st.windowed && platform.DesktopBytesPerPixel() == 3) || st.bitsPerPixel == 24) {
        LogPrintf("%s", texts::kNo24BitColour);
        std::fprintf(stderr, "anagura: a desktop of 3 bytes per pixel is not supported\n");
        KeepLogUnlessAnotherCopyRuns(platform);
        return FailStart(st, platform);
    }

    const std::optional<uint32_t> seed = RandomSeedOverride();
    SeedRandom(seed ? *seed : platform.NowMillis());
    LogPrintf("%s", texts::kInstanceCheck);
    if (!platform.AcquireInstanceLock(InstanceLockName())) {
        LogPrintf("%s", texts::kInstanceRunning);
        std::fprintf(stderr, "anagura: another copy is already running: its window is brought to the front\n");
        platform.AskRunningCopyToShow(InstanceLockName());
        LogDiscard();  // the running copy's log is left alone
        return FailStart(st, platform);
    }
    LogPrintf("%s", texts::kInstanceNotRunning);
    LogCommit();
    PrepareFonts();

    WindowRequest request;
    request.width = st.screenWidth;
    request.height = st.screenHeight;
    request.scale = PlayerWindowScale(st.windowScale);
    request.windowed = PlayerWindowed(st.windowed);
    request.format = st.Format();
    std::string error;
    if (!platform.OpenWindow(request, error)) {
        LogPrintf("%s", texts::kWindowFailed);
        LogLine("window: %s", error.c_str());
        std::fprintf(stderr, "anagura: cannot open the window: %s\n", error.c_str());
        return FailStart(st, platform);
    }

    st.ForgetReuse();
    st.backStale = false;
    st.back.Allocate(st.screenWidth, st.screenHeight, st.Format());
    st.front.Allocate(st.screenWidth, st.screenHeight, st.Format());
    ResetDrawState(st);
    st.active = true;
    st.running = true;
    StartSoundOutput();
    StartFonts();

    BeginRefreshPeriod(st, platform);
    st.vsyncWait = true;
    st.lastVblankEnd = platform.NowMillis();
    return 0;
}

int op::EndMediaLayer() {
    OperationGuard guard;
    MediaState& st = State();
    // Also after a failed start: the font setters may have loaded the font
    // configuration since.
    ShutDown(st, CurrentPlatform(), st.running ? Opened::Everything : Opened::Nothing);
    st.images.Clear();
    LogEnd();
    return 0;
}

int ProcessMessage() {
    OperationGuard guard;
    MediaState& st = State();
    if (st.ended || !st.running) return -1;
    if (SkipMessagePump()) return 0;
    Shell& shell = TheShell();
    PumpResult r = shell.Pump();
    // Frozen while another application has the focus, the window is minimised
    // or the player has a panel open.
    while (!r.quit && !r.active && !CatchingUp()) {
        st.active = false;
        FeedStreams();  // this thread holds the lock the feeder would need
        CurrentPlatform().WaitForEvent(kFrozenWaitMillis);
        r = shell.Pump();
    }
    st.active = true;
    if (r.quit) {
        st.ended = true;
        return -1;
    }
    KeepStreamsFed();
    return 0;
}

int op::SetDrawTarget(int target) {
    OperationGuard guard;
    if (target != -2 && target != -4) return -1;
    State().draw.target = target;
    return 0;
}

int op::ClearScreen() {
    OperationGuard guard;
    MediaState& st = State();
    if (st.draw.target == -2) {
        st.backStale = false;  // about to be overwritten whole
        // The clear waits with the frame's first draws while they repeat the last frame's.
        if (!st.back.Empty() && st.reuse->BeginFrame(st.back)) return 0;
    }
    Surface* target = st.Target();
    if (target) target->Fill(0);
    return 0;
}

int op::FlipScreen() {
    OperationGuard guard;
    MediaState& st = State();
    if (!st.running || st.back.Empty()) return -1;
    Platform& platform = CurrentPlatform();
    const bool shown = !CatchingUp();
    if (shown) WaitOutRefreshMinimum(st, platform);
    // The back screen becomes the front; the old front is marked to receive a
    // copy of it, made only if the back screen is used before being cleared.
    st.Back();
    st.reuse->EndFrame(st.back);
    std::swap(st.back, st.front);
    st.backStale = true;
    if (!shown) return 0;
    platform.Present(st.front.Data(), st.front.width, st.front.height, st.front.Pitch(), st.front.format);
    st.lastVblankEnd = platform.NowMillis();
    if (st.refreshMeter.NotePresent(st.lastVblankEnd)) st.refreshPeriod = st.refreshMeter.Decide(platform);
    return 0;
}
