// The picture on the page's canvas at the largest whole multiple that fits,
// nearest-neighbour, centred on black; keys reported by their DIK numbers (by
// key position), gamepads (WebPads) and the page's touch controls by their
// player buttons; the overlay it is given as the page's text above the canvas;
// sound through Web Audio, unlocked by the player's first key or click;
// presents paced by the animation frames.
// The platform functions follow the template (platform/PlatformTemplate.cpp),
// in its sections.
#include "media/web/WebPlatform.h"

#include <emscripten.h>
#include <emscripten/html5.h>
#include <wasm_simd128.h>

#include <cstring>
#include <vector>

#include "media/platform/KeyPositions.h"
#include "media/platform/WindowPlatform.h"
#include "media/shell/Shell.h"
#include "media/text/ShiftJis.h"
#include "media/video/PixelMath.h"
#include "media/web/DomKeyCodes.h"
#include "media/web/WebPads.h"
#include "media/web/WebPage.h"

namespace media {
namespace {

// The sound the page pulls: the mixer's callback, and where it writes.
struct SoundTarget {
    AudioCallback callback = nullptr;
    void* user = nullptr;
    std::vector<int16_t> frames;
};

SoundTarget& TheSoundTarget() {
    static auto* target = new SoundTarget();  // lives until the page goes
    return *target;
}

// While the tab is hidden, how long one wait for it to show again lasts at most.
constexpr uint32_t kHiddenPollMillis = 50;

// How often a wait for a data file looks again.
constexpr int kDataPollMillis = 20;

// The open platform, for the page's touch controls.
class WebPlatform;
WebPlatform* g_openPlatform = nullptr;

// One row of the screen as RGBA bytes, widened as the screenshots widen it:
// one little-endian word a pixel (R, G, B, 255), which the compiler turns into
// whole lanes.
template <class F>
void RowToRgba(const uint8_t* row, int width, uint8_t* out) {
    for (int x = 0; x < width; ++x) {
        typename F::Pixel p;
        std::memcpy(&p, row + sizeof p * static_cast<size_t>(x), sizeof p);
        const uint32_t rgb = ToRgb<F>(p);
        const uint32_t rgba = 0xFF000000u | (rgb & 0x00FF00u) | (rgb >> 16 & 0xFFu) | (rgb & 0xFFu) << 16;
        std::memcpy(out + 4 * static_cast<size_t>(x), &rgba, sizeof rgba);
    }
}

// The game's own screen (RGB565) eight pixels a step, as RowToRgba<Rgb565> makes them.
void Rgb565RowToRgba(const uint8_t* row, int width, uint8_t* out) {
    const v128_t five = wasm_i16x8_splat(0x1F), six = wasm_i16x8_splat(0x3F);
    const v128_t alpha = wasm_i16x8_splat(static_cast<int16_t>(0xFF00));
    int x = 0;
    for (; x + 8 <= width; x += 8) {
        const v128_t p = wasm_v128_load(row + 2 * x);
        const v128_t r = wasm_u16x8_shr(p, 11);
        const v128_t g = wasm_v128_and(wasm_u16x8_shr(p, 5), six);
        const v128_t b = wasm_v128_and(p, five);
        const v128_t r8 = wasm_v128_or(wasm_i16x8_shl(r, 3), wasm_u16x8_shr(r, 2));
        const v128_t g8 = wasm_v128_or(wasm_i16x8_shl(g, 2), wasm_u16x8_shr(g, 4));
        const v128_t b8 = wasm_v128_or(wasm_i16x8_shl(b, 3), wasm_u16x8_shr(b, 2));
        const v128_t rg = wasm_v128_or(r8, wasm_i16x8_shl(g8, 8));  // bytes R, G
        const v128_t ba = wasm_v128_or(b8, alpha);                   // bytes B, 255
        wasm_v128_store(out + 4 * x, wasm_i16x8_shuffle(rg, ba, 0, 8, 1, 9, 2, 10, 3, 11));
        wasm_v128_store(out + 4 * x + 16, wasm_i16x8_shuffle(rg, ba, 4, 12, 5, 13, 6, 14, 7, 15));
    }
    RowToRgba<Rgb565>(row + 2 * x, width - x, out + 4 * x);
}

class WebPlatform final : public Platform {
public:
    ~WebPlatform() override {
        CloseAudio();
        CloseWindow();
    }

    // ------------------------------------------------------------ window

    int DesktopBytesPerPixel() override { return 4; }

    bool OpenWindow(const WindowRequest& request, std::string&) override {
        m_width = request.width;
        m_height = request.height;
        ListenToThePage(true);
        m_pads.Start();
        m_open = true;
        g_openPlatform = this;
        if (!request.windowed) webpage::SetFullscreen(true);
        Awake();
        return true;
    }

    void CloseWindow() override {
        if (!m_open) return;
        ListenToThePage(false);
        m_pads.Stop();
        m_open = false;
        g_openPlatform = nullptr;
        ShowOverlay(OverlayText(), true);
        webpage::Ended();
    }

    void ResizeWindow(double) override {}  // the page decides the size: the largest multiple that fits

    // ------------------------------------------------------------ screen

    void Present(const void* pixels, int width, int height, int pitch, PixelFormat format) override {
        if (!m_open) return;
        // The picture's way to the canvas (as the desktop's texture upload): its
        // conversion to RGBA and the canvas's own copy.
        const double shown = emscripten_get_now();
        m_rgba.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
        for (int y = 0; y < height; ++y) ConvertRow(pixels, y, width, pitch, format);
        webpage::ShowPicture(m_rgba.data(), width, height);
        const double uploadMillis = emscripten_get_now() - shown;
        Yielding();
        webpage::NoteFrameWork(m_workMillis, uploadMillis);
        m_workMillis = 0;
        webpage::AwaitAnimationFrame();
        Awake();
    }

    bool PresentWaitsForBlank() override { return m_open; }

    // The page's text, changed at once.
    void ShowOverlay(const OverlayText& text, bool) override {
        std::string joined;
        for (const std::string& line : text.lines) joined += SjisToUtf8(line) + "\n";
        webpage::ShowOverlay(joined.c_str(), text.panel);
    }

    // ------------------------------------------------------------ events and input

    void AttachInput(InputSink* sink) override { m_sink = sink; }

    // Keys and touches come from the page's own callbacks; the pads are read here.
    PumpResult PumpEvents() override {
        m_pads.Report(m_sink);
        PumpResult result;
        result.active = webpage::Visible();
        return result;
    }

    // Keys and touches reach the shell while this waits.
    void WaitForEvent(uint32_t timeoutMillis) override {
        emscripten_sleep(timeoutMillis < kHiddenPollMillis ? timeoutMillis : kHiddenPollMillis);
    }

    // The page's touch controls.
    void TouchButton(int button, bool down) {
        if (m_sink && button >= 0 && button < kPlayerButtonCount)
            m_sink->ButtonChanged(ButtonSource::Touch, static_cast<PlayerButton>(button), down);
    }

    // ------------------------------------------------------------ clock

    uint32_t NowMillis() override { return static_cast<uint32_t>(static_cast<uint64_t>(emscripten_get_now())); }
    void SleepMillis(uint32_t ms) override {
        Yielding();
        emscripten_sleep(ms);
        Awake();
    }

    // ------------------------------------------------------------ one copy at a time

    // One game a tab: nothing to lock against.
    bool AcquireInstanceLock(const std::string&) override { return true; }
    void ReleaseInstanceLock() override {}
    void AskRunningCopyToShow(const std::string&) override {}

    // ------------------------------------------------------------ sound

    // The page makes its sound output at the player's first key or click; what
    // the mixer holds until then is played from that moment.
    int OpenAudio(int preferredRate, AudioCallback callback, void* user) override {
        const int rate = preferredRate > 0 ? preferredRate : 48000;
        SoundTarget& target = TheSoundTarget();
        target.callback = callback;
        target.user = user;
        if (!webpage::OpenSound(rate)) {
            target.callback = nullptr;
            return 0;
        }
        return rate;
    }

    void CloseAudio() override {
        webpage::CloseSound();
        TheSoundTarget().callback = nullptr;
    }

    // The page pulls the mixer from its sound callback, on the page's one thread.
    bool DevicePullsByItself() const override { return true; }

    // ------------------------------------------------------------ display

    int DisplayRefreshRate() override { return 0; }

    int ShownScale() override { return webpage::ShownScale(); }

    bool SetFullscreen(bool fullscreen) override { return webpage::SetFullscreen(fullscreen); }

    bool Fullscreen() override { return webpage::Fullscreen(); }

    // F12 is the browser's; Escape never ends the game in a page (it leaves
    // the browser's fullscreen); the page decides the picture's size.
    PlatformTraits Traits() const override { return PlatformTraits{false, false, false, false}; }

    // ------------------------------------------------------------ data files

    // Data files the page still fetches: the game waits with a "loading" line.
    void AwaitDataFile(const char* path) override {
        if (!webpage::DataFilePending(path)) return;
        webpage::ShowLoading(true);
        Yielding();
        while (webpage::DataFilePending(path)) emscripten_sleep(kDataPollMillis);
        Awake();
        webpage::ShowLoading(false);
    }

private:

    // The game's own work between two presents: the time it did not wait.
    void Yielding() { m_workMillis += emscripten_get_now() - m_awakeSince; }
    void Awake() { m_awakeSince = emscripten_get_now(); }

    void ConvertRow(const void* pixels, int y, int width, int pitch, PixelFormat format) {
        const auto* row = static_cast<const uint8_t*>(pixels) + static_cast<size_t>(y) * static_cast<size_t>(pitch);
        uint8_t* out = m_rgba.data() + static_cast<size_t>(y) * static_cast<size_t>(width) * 4;
        switch (format) {
            case PixelFormat::Rgb565: Rgb565RowToRgba(row, width, out); break;
            case PixelFormat::Xrgb8888: RowToRgba<Xrgb8888>(row, width, out); break;
            case PixelFormat::Indexed8: RowToRgba<Indexed8>(row, width, out); break;
        }
    }

    void ListenToThePage(bool on) {
        const char* target = EMSCRIPTEN_EVENT_TARGET_WINDOW;
        emscripten_set_keydown_callback(target, on ? this : nullptr, true, on ? &OnKey : nullptr);
        emscripten_set_keyup_callback(target, on ? this : nullptr, true, on ? &OnKey : nullptr);
        emscripten_set_blur_callback(target, on ? this : nullptr, true, on ? &OnBlur : nullptr);
        emscripten_set_mousedown_callback(target, on ? this : nullptr, true, on ? &OnClick : nullptr);
    }

    // True (the browser does nothing more with it) for the keys the shell
    // takes; keys held with Ctrl or Meta stay the browser's, as do those the
    // game has no code for.
    static EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* event, void* user) {
        auto* self = static_cast<WebPlatform*>(user);
        const bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
        if (down) webpage::PlayerGesture();
        const uint8_t dik = DikOfKeyPosition(UsageOfDomCode(event->code));
        if (!dik || !self->m_sink) return EM_FALSE;
        const bool taken = self->m_sink->KeyChanged(dik, down, event->repeat != 0);
        return taken && !event->ctrlKey && !event->metaKey ? EM_TRUE : EM_FALSE;
    }

    // Keys let go while another window had the focus never come up here.
    static EM_BOOL OnBlur(int, const EmscriptenFocusEvent*, void* user) {
        auto* self = static_cast<WebPlatform*>(user);
        if (self->m_sink) self->m_sink->AllKeysUp();
        return EM_FALSE;
    }

    static EM_BOOL OnClick(int, const EmscriptenMouseEvent*, void*) {
        webpage::PlayerGesture();
        return EM_FALSE;
    }

    bool m_open = false;
    int m_width = 0, m_height = 0;
    InputSink* m_sink = nullptr;
    std::vector<uint8_t> m_rgba;
    double m_awakeSince = 0;  // when the tab was last handed back to the game
    double m_workMillis = 0;  // the game's work since the last present
    WebPads m_pads;
};

}  // namespace

std::unique_ptr<Platform> MakeWebPlatform() { return std::make_unique<WebPlatform>(); }

void UseWindowPlatform() {
    UsePlatform(MakeWebPlatform());
    TheShell().SetMode(ShellMode::Player);
}

}  // namespace media

extern "C" EMSCRIPTEN_KEEPALIVE void WebPlayerButton(int button, int down) {
    if (media::g_openPlatform) media::g_openPlatform->TouchButton(button, down != 0);
}

extern "C" EMSCRIPTEN_KEEPALIVE int16_t* WebSoundPull(int frames) {
    media::SoundTarget& target = media::TheSoundTarget();
    target.frames.resize(static_cast<size_t>(frames) * 2);
    if (target.callback) target.callback(target.user, target.frames.data(), frames);
    else std::memset(target.frames.data(), 0, target.frames.size() * sizeof(int16_t));
    return target.frames.data();
}
