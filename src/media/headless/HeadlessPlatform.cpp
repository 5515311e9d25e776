// The headless platform: no window and no devices. The screen is kept in memory,
// the keyboard and buttons are what the caller says (reported to the shell as a
// window's would be), the clock may be virtual (moved only by Sleep and
// AdvanceClock), the audio device is a callback the caller drives.
// The platform functions follow the template (platform/PlatformTemplate.cpp),
// in its sections.
#include <algorithm>
#include <cstring>
#include <mutex>
#include <optional>

#include "media/Media.h"
#include "media/core/InstanceLock.h"
#include "media/core/MediaState.h"
#include "media/core/OperationLock.h"
#include "media/core/Random.h"
#include "media/headless/HeadlessControls.h"
#include "media/platform/InputSink.h"
#include "media/platform/Platform.h"
#include "media/shell/Shell.h"
#include "media/sound/SoundOutput.h"
#include "media/sound/SoundSystem.h"
#include "media/video/PictureFit.h"
#include "media/video/PixelMath.h"

namespace media {
namespace {

// What the headless controls set; read by the platform object.
struct Controls {
    bool virtualClock = true;
    uint32_t clock = 0;
    uint8_t keys[256] = {};
    bool quitRequested = false;
    bool lockNameSet = false;
    bool feederThread = false;
    std::vector<uint8_t> presentedRaw;
    int presentedWidth = 0, presentedHeight = 0, presentedPitch = 0;
    PixelFormat presentedFormat = PixelFormat::Rgb565;
    InputSink* sink = nullptr;
    OverlayText overlay;
    bool fullscreen = false;
    PlatformTraits traits;

    std::mutex audioMutex;
    AudioCallback audioCallback = nullptr;
    void* audioUser = nullptr;
};

Controls& TheControls() {
    static Controls* controls = new Controls();  // lives until process exit
    return *controls;
}

class HeadlessPlatform final : public Platform {
public:
    // ------------------------------------------------------------ window
    int DesktopBytesPerPixel() override { return 4; }
    bool OpenWindow(const WindowRequest& request, std::string&) override {
        m_screenWidth = request.width;
        m_screenHeight = request.height;
        ResizeWindow(request.scale);
        return true;
    }
    void CloseWindow() override {}
    void ResizeWindow(double scale) override {
        m_windowWidth = WindowSide(m_screenWidth, scale);
        m_windowHeight = WindowSide(m_screenHeight, scale);
    }

    // ------------------------------------------------------------ screen
    // Keeps the picture as it came (converted only when asked for).
    void Present(const void* pixels, int width, int height, int pitch, PixelFormat format) override {
        Controls& c = TheControls();
        const size_t bytes = static_cast<size_t>(pitch) * static_cast<size_t>(height);
        c.presentedRaw.resize(bytes);
        std::memcpy(c.presentedRaw.data(), pixels, bytes);
        c.presentedWidth = width;
        c.presentedHeight = height;
        c.presentedPitch = pitch;
        c.presentedFormat = format;
    }

    bool PresentWaitsForBlank() override { return false; }

    void ShowOverlay(const OverlayText& text, bool) override { TheControls().overlay = text; }

    // ------------------------------------------------------------ events and input
    void AttachInput(InputSink* sink) override { TheControls().sink = sink; }

    PumpResult PumpEvents() override {
        PumpResult r;
        r.quit = TheControls().quitRequested;
        TheControls().quitRequested = false;
        return r;
    }

    // The only event is a quit request, which is either pending now or comes
    // from this thread later: otherwise the whole timeout passes.
    void WaitForEvent(uint32_t timeoutMillis) override {
        if (!TheControls().quitRequested) SleepMillis(timeoutMillis);
    }

    // ------------------------------------------------------------ clock
    uint32_t NowMillis() override {
        Controls& c = TheControls();
        return c.virtualClock ? c.clock : MonotonicMillis();
    }

    void SleepMillis(uint32_t ms) override {
        Controls& c = TheControls();
        if (c.virtualClock) c.clock += ms;
        else SleepRealMillis(ms);
    }

    // ------------------------------------------------------------ one copy at a time
    bool AcquireInstanceLock(const std::string& name) override {
        if (!TheControls().lockNameSet) return true;
        return m_lock.Acquire(name);
    }
    void ReleaseInstanceLock() override { m_lock.Release(); }
    void AskRunningCopyToShow(const std::string&) override {}

    // ------------------------------------------------------------ sound
    int OpenAudio(int, AudioCallback callback, void* user) override {
        Controls& c = TheControls();
        std::lock_guard<std::mutex> g(c.audioMutex);
        c.audioCallback = callback;
        c.audioUser = user;
        return 48000;
    }
    void CloseAudio() override {
        Controls& c = TheControls();
        std::lock_guard<std::mutex> g(c.audioMutex);
        c.audioCallback = nullptr;
        c.audioUser = nullptr;
    }

    // RenderAudio pulls, unless a test asks for the feeder thread.
    bool DevicePullsByItself() const override { return TheControls().feederThread; }

    // ------------------------------------------------------------ display
    int DisplayRefreshRate() override { return 0; }
    int ShownScale() override {
        return FitPicture(m_windowWidth, m_windowHeight, m_screenWidth, m_screenHeight).scale;
    }
    bool SetFullscreen(bool fullscreen) override {
        TheControls().fullscreen = fullscreen;
        return true;
    }
    bool Fullscreen() override { return TheControls().fullscreen; }
    PlatformTraits Traits() const override { return TheControls().traits; }

    // ------------------------------------------------------------ data files
    void AwaitDataFile(const char*) override {}

private:
    InstanceLock m_lock;
    int m_screenWidth = 0, m_screenHeight = 0;
    int m_windowWidth = 0, m_windowHeight = 0;
};

std::unique_ptr<Platform> MakeHeadlessPlatform() { return std::make_unique<HeadlessPlatform>(); }

}  // namespace

namespace headless {

void Install(bool virtualClock) {
    OperationGuard guard;
    if (State().running) EndMediaLayer();
    Controls& c = TheControls();
    c.virtualClock = virtualClock;
    c.clock = 0;
    std::memset(c.keys, 0, sizeof c.keys);
    c.quitRequested = false;
    c.feederThread = false;
    c.presentedRaw.clear();
    c.presentedWidth = c.presentedHeight = 0;
    c.overlay = OverlayText();
    c.fullscreen = false;
    c.traits = PlatformTraits();
    UsePlatform(MakeHeadlessPlatform());
    TheShell().SetMode(ShellMode::Plain);
}

void UsePlayerKeys(const PlatformTraits& traits) {
    OperationGuard guard;
    TheControls().traits = traits;
    TheShell().SetMode(ShellMode::Player);
}

void FeedStreamsOnAThread(bool on) {
    OperationGuard guard;
    TheControls().feederThread = on;
}

bool SetKeyDown(int dikCode, bool down) {
    OperationGuard guard;
    if (dikCode <= 0 || dikCode >= 256) return false;
    Controls& c = TheControls();
    const bool repeat = down && c.keys[dikCode];
    c.keys[dikCode] = down ? 1 : 0;
    return c.sink && c.sink->KeyChanged(static_cast<uint8_t>(dikCode), down, repeat);
}

void ReleaseAllKeys() {
    OperationGuard guard;
    Controls& c = TheControls();
    for (int k = 1; k < 256; ++k) {
        if (!c.keys[k]) continue;
        c.keys[k] = 0;
        if (c.sink) c.sink->KeyChanged(static_cast<uint8_t>(k), false, false);
    }
}

void SetButtonDown(ButtonSource source, PlayerButton button, bool down) {
    OperationGuard guard;
    if (TheControls().sink) TheControls().sink->ButtonChanged(source, button, down);
}

void ChooseWindowScale(int scale) {
    OperationGuard guard;
    if (TheControls().sink) TheControls().sink->WindowScaleChosen(scale);
}

OverlayText ShownOverlay() {
    OperationGuard guard;
    return TheControls().overlay;
}

void AdvanceClock(uint32_t ms) {
    OperationGuard guard;
    TheControls().clock += ms;
}

void SetRandomSeed(uint32_t seed) {
    OperationGuard guard;
    SetRandomSeedOverride(seed);
}

void ClearRandomSeed() {
    OperationGuard guard;
    SetRandomSeedOverride(std::nullopt);
}

void SetInstanceLockName(const std::string& name) {
    OperationGuard guard;
    TheControls().lockNameSet = !name.empty();
    SetInstanceLockNameOverride(name);
}

void RequestQuit() {
    OperationGuard guard;
    TheControls().quitRequested = true;
}

std::vector<uint32_t> PresentedPixels() {
    OperationGuard guard;
    const Controls& c = TheControls();
    std::vector<uint32_t> out(static_cast<size_t>(c.presentedWidth) * static_cast<size_t>(c.presentedHeight));
    for (int y = 0; y < c.presentedHeight; ++y) {
        const uint8_t* row = c.presentedRaw.data() + static_cast<size_t>(y) * static_cast<size_t>(c.presentedPitch);
        uint32_t* dst = out.data() + static_cast<size_t>(y) * static_cast<size_t>(c.presentedWidth);
        for (int x = 0; x < c.presentedWidth; ++x) {
            switch (c.presentedFormat) {
                case PixelFormat::Indexed8: dst[x] = ToRgb<Indexed8>(row[x]); break;
                case PixelFormat::Rgb565: {
                    uint16_t p;
                    std::memcpy(&p, row + 2 * x, 2);
                    dst[x] = ToRgb<Rgb565>(p);
                    break;
                }
                case PixelFormat::Xrgb8888: {
                    uint32_t p;
                    std::memcpy(&p, row + 4 * x, 4);
                    dst[x] = ToRgb<Xrgb8888>(p);
                    break;
                }
            }
        }
    }
    return out;
}

std::vector<uint32_t> BackScreenPixels() {
    OperationGuard guard;
    const Surface& s = State().Back();
    std::vector<uint32_t> out;
    out.reserve(static_cast<size_t>(s.width) * static_cast<size_t>(s.height));
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) out.push_back(s.RgbAt(x, y));
    return out;
}

namespace {

// Runs the audio callback the media layer gave OpenAudio for `frames` stereo
// frames. False (out untouched) when no audio device is open.
bool CallAudioCallback(int16_t* out, int frames) {
    Controls& c = TheControls();
    std::lock_guard<std::mutex> g(c.audioMutex);
    if (!c.audioCallback) return false;
    c.audioCallback(c.audioUser, out, frames);
    return true;
}

}  // namespace

std::vector<int16_t> RenderAudio(int frames) {
    std::vector<int16_t> out(static_cast<size_t>(frames > 0 ? frames : 0) * 2);
    RenderAudio(out.data(), frames);
    return out;
}

void RenderAudio(int16_t* out, int frames) {
    OperationGuard guard;
    if (frames <= 0) return;
    std::fill(out, out + 2 * static_cast<size_t>(frames), int16_t{0});
    if (!SoundOutputRunning()) return;
    FeedStreams();
    CallAudioCallback(out, frames);  // the mixer, as a device thread would run it
}

}  // namespace headless
}  // namespace media
