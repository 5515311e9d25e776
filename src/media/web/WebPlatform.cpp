// The picture on the page's canvas at the largest whole multiple that fits,
// nearest-neighbour, centred on black; the keyboard as DIK scan codes by key
// position, gamepads pressing keys too (WebPads); F11 and Alt+Enter switch
// fullscreen and F1 (or a pad's Back, or the page's help button) opens the help
// panel (keys the game never sees); the panel and the notices of
// core/WindowOverlay.h show as the page's text above the canvas; sound through
// Web Audio, unlocked by the player's first key or click; presents paced by the
// animation frames.
// The platform functions follow the template (platform/PlatformTemplate.cpp),
// in its sections.
#include "media/web/WebPlatform.h"

#include <emscripten.h>
#include <emscripten/html5.h>
#include <wasm_simd128.h>

#include <cstring>
#include <vector>

#include "media/core/PlayerPrefs.h"
#include "media/core/WindowOverlay.h"
#include "media/platform/KeyPositions.h"
#include "media/platform/WindowPlatform.h"
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

// The open platform, for the page's help button.
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
        std::memset(m_down, 0, sizeof m_down);
        std::memset(m_pressedSinceRead, 0, sizeof m_pressedSinceRead);
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
        webpage::ShowOverlay("", false);
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
        ShowOverlayText();
        webpage::AwaitAnimationFrame();
        Awake();
    }

    // Opens or closes the help panel, shown at once: while it is open the game waits.
    void ToggleHelp() {
        ToggleHelpPanel();
        ShowOverlayText();
    }

    bool PresentWaitsForBlank() override { return m_open; }

    // ------------------------------------------------------------ events and keys

    PumpResult PumpEvents(int) override {
        if (m_pads.BackPressed()) ToggleHelp();
        PumpResult result;
        result.active = Active();
        return result;
    }

    // A freeze ends with the tab shown again and the help panel closed.
    void WaitForEvent(uint32_t timeoutMillis) override {
        const uint32_t start = NowMillis();
        while (!Active() && NowMillis() - start < timeoutMillis) {
            emscripten_sleep(kHiddenPollMillis);
            if (m_pads.BackPressed()) ToggleHelp();
            ShowOverlayText();
        }
    }

    // A key counts as down while it is held, and also in the first read after it
    // went down: a tap shorter than a frame is seen once rather than lost.
    void ReadKeys(uint8_t keys[256]) override {
        for (int k = 0; k < 256; ++k) keys[k] = (m_down[k] | m_pressedSinceRead[k]) ? 1 : 0;
        std::memset(m_pressedSinceRead, 0, sizeof m_pressedSinceRead);
        m_pads.PressKeys(keys, PadButtonKeys());
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

    // ------------------------------------------------------------ display

    int ShownScale() override { return webpage::ShownScale(); }

    bool SetFullscreen(bool fullscreen) override { return webpage::SetFullscreen(fullscreen); }

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
    bool Active() { return webpage::Visible() && !HelpPanelOpen(); }

    // The page's text above the picture, sent again only when it changed.
    void ShowOverlayText() {
        const OverlayText& text = CurrentOverlay(NowMillis());
        if (text.serial == m_overlaySerial) return;
        m_overlaySerial = text.serial;
        std::string joined;
        for (const std::string& line : text.lines) joined += SjisToUtf8(line) + "\n";
        webpage::ShowOverlay(joined.c_str(), text.panel);
    }

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

    // True (the browser does nothing more with it) for the keys the game takes;
    // keys held with Ctrl or Meta stay the browser's, as do those the game has no code for.
    static EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* event, void* user) {
        auto* self = static_cast<WebPlatform*>(user);
        const bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
        if (down) webpage::PlayerGesture();
        const int usage = UsageOfDomCode(event->code);
        if (self->TakePlayerKey(usage, *event, down)) return EM_TRUE;
        const uint8_t dik = DikOfKeyPosition(usage);
        if (!dik) return EM_FALSE;
        self->m_down[dik] = down ? 1 : 0;
        if (down) self->m_pressedSinceRead[dik] = 1;
        return event->ctrlKey || event->metaKey ? EM_FALSE : EM_TRUE;
    }

    // F11 and Alt+Enter switch fullscreen, F1 opens or closes the help panel;
    // F12 stays the browser's. True for these keys, which never reach the
    // game's key array (up or down).
    bool TakePlayerKey(int usage, const EmscriptenKeyboardEvent& event, bool down) {
        constexpr int kEnter = 0x28, kF1 = 0x3A, kF11 = 0x44;
        const bool altEnter = usage == kEnter && event.altKey;
        if (usage != kF1 && usage != kF11 && !altEnter) return false;
        if (!down || event.repeat) return true;
        if (usage == kF1) ToggleHelp();
        else webpage::ToggleFullscreen();
        return true;
    }

    // Keys let go while another window had the focus never come up here.
    static EM_BOOL OnBlur(int, const EmscriptenFocusEvent*, void* user) {
        auto* self = static_cast<WebPlatform*>(user);
        std::memset(self->m_down, 0, sizeof self->m_down);
        return EM_FALSE;
    }

    static EM_BOOL OnClick(int, const EmscriptenMouseEvent*, void*) {
        webpage::PlayerGesture();
        return EM_FALSE;
    }

    bool m_open = false;
    int m_width = 0, m_height = 0;
    uint8_t m_down[256] = {};
    uint8_t m_pressedSinceRead[256] = {};
    std::vector<uint8_t> m_rgba;
    double m_awakeSince = 0;  // when the tab was last handed back to the game
    double m_workMillis = 0;  // the game's work since the last present
    uint64_t m_overlaySerial = 0;  // of the overlay text the page shows
    WebPads m_pads;
};

}  // namespace

std::unique_ptr<Platform> MakeWebPlatform() { return std::make_unique<WebPlatform>(); }

void UseWindowPlatform() { UsePlatform(MakeWebPlatform()); }

}  // namespace media

extern "C" EMSCRIPTEN_KEEPALIVE void WebToggleHelp() {
    if (media::g_openPlatform) media::g_openPlatform->ToggleHelp();
}

extern "C" EMSCRIPTEN_KEEPALIVE int16_t* WebSoundPull(int frames) {
    media::SoundTarget& target = media::TheSoundTarget();
    target.frames.resize(static_cast<size_t>(frames) * 2);
    if (target.callback) target.callback(target.user, target.frames.data(), frames);
    else std::memset(target.frames.data(), 0, target.frames.size() * sizeof(int16_t));
    return target.frames.data();
}
