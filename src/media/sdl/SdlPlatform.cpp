// The SDL2 platform: a resizable window showing the finished screen through a
// streaming texture, at the largest whole multiple that fits, centred on black,
// nearest-neighbour, presented with vsync; the overlay it is given in a texture
// of its own above the picture; keys reported by their DIK numbers and
// gamepads by their player buttons (SdlPads), as they come; the audio device.
// With SdlPads, the only files that include SDL. The platform functions follow
// the template (platform/PlatformTemplate.cpp), in its sections.
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "media/core/InstanceLock.h"
#include "media/core/Log.h"
#include "media/core/PlayerPrefs.h"
#include "media/platform/KeyPositions.h"
#include "media/platform/Platform.h"
#include "media/shell/Shell.h"
#include "media/sdl/EndSignals.h"
#include "media/sdl/SdlPads.h"
#include "media/sdl/SdlPlatform.h"
#include "media/text/OverlayPainter.h"
#include "media/video/ImageDecoder.h"
#include "media/video/ImageFile.h"
#include "media/video/PictureFit.h"
#include "media/video/PixelMath.h"

// Last, for its macros (Status, None, ...): only the handler of a lost X connection uses it.
#include <X11/Xlib.h>

namespace media {
namespace {

// SDL's scan codes are the USB keyboard usages, but for a few keys of its own.
uint8_t DikOfScancode(int scancode) {
    if (scancode == SDL_SCANCODE_SLEEP) return 0xDF;
    return DikOfKeyPosition(scancode);
}

// The window's icon: the data folder's image/anagura.png. Without a readable
// one the window simply keeps the desktop's default icon.
void SetIconFromDataFolder(SDL_Window* window) {
    std::vector<uint8_t> bytes;
    DecodedImage icon;
    if (ReadImageFile("image/anagura.png", bytes) != ImageFileRead::Ok) return;
    if (DecodeImage(bytes.data(), bytes.size(), icon) != DecodeResult::Ok) return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(icon.argb.data(), icon.width, icon.height, 32,
                                                              icon.width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!surface) return;
    SDL_SetWindowIcon(window, surface);
    SDL_FreeSurface(surface);
}

struct AudioTarget {
    AudioCallback callback = nullptr;
    void* user = nullptr;
};

void AudioTrampoline(void* user, Uint8* stream, int len) {
    const auto* target = static_cast<const AudioTarget*>(user);
    target->callback(target->user, reinterpret_cast<int16_t*>(stream), len / 4);
}

Uint32 TextureFormatOf(PixelFormat format) {
    return format == PixelFormat::Rgb565 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB888;
}

// Starts of video against a named display that refuses the connection.
constexpr int kDisplayAttempts = 10;
constexpr Uint32 kDisplayRetryMs = 100;

// True when the user's SDL_VIDEODRIVER (a comma-separated list) names `driver`.
bool VideoDriverRequested(const char* driver) {
    const char* requested = std::getenv("SDL_VIDEODRIVER");
    if (!requested) return false;
    const std::string list(requested);
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(',', start);
        if (end == std::string::npos) end = list.size();
        if (SDL_strcasecmp(list.substr(start, end - start).c_str(), driver) == 0) return true;
        start = end + 1;
    }
    return false;
}

// SDL falls back to its "offscreen" or "dummy" video driver when it reaches no
// display: the window would exist but nobody could see it. Only a request by
// name makes them acceptable.
bool FellBackBlind(const char* driver) {
    const bool blind = SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0;
    return blind && !VideoDriverRequested(driver);
}

// The displays the environment names, as "\":1\" (DISPLAY)", joined by " and "; "" when none.
std::string NamedDisplays() {
    std::string named;
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(variable);
        if (!value || !*value) continue;
        if (!named.empty()) named += " and ";
        named += std::string("\"") + value + "\" (" + variable + ")";
    }
    return named;
}

// False, with the reason, when video runs on such a fall-back: no display
// named at all, or the ones named do not answer.
bool CheckVideoDriver(std::string& error) {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) {
        error = "SDL reports no video driver";
        return false;
    }
    if (!FellBackBlind(driver)) return true;
    const std::string fellBack = std::string("SDL fell back to its \"") + driver + "\" video driver";
    const std::string blindRun = std::string("SDL_VIDEODRIVER=") + driver + " to run without a visible window";
    const std::string named = NamedDisplays();
    error = named.empty()
                ? "no display (" + fellBack + "; set DISPLAY or WAYLAND_DISPLAY, or " + blindRun + ")"
                : "the display " + named + " does not answer (" + fellBack +
                      "; is that display running and open to this user? over SSH use ssh -X; or " + blindRun + ")";
    return false;
}

// True when a Wayland connection could be tried at all: a named display with
// no runtime folder makes the Wayland library print errors of its own.
bool WaylandReachable() {
    const char* socket = std::getenv("WAYLAND_SOCKET");
    const char* display = std::getenv("WAYLAND_DISPLAY");
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    return (socket && *socket) || (display && display[0] == '/') || (runtime && *runtime);
}

// Leaves Wayland out of SDL's choice when it cannot be reached, unless the
// user chose the drivers: every other driver stays, in SDL's order.
void SkipUnreachableWayland() {
    if (std::getenv("SDL_VIDEODRIVER")) return;
    if (WaylandReachable()) {
        SDL_ResetHint(SDL_HINT_VIDEODRIVER);
        return;
    }
    std::string others;
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
        const char* driver = SDL_GetVideoDriver(i);
        if (!driver || SDL_strcmp(driver, "wayland") == 0) continue;
        if (!others.empty()) others += ',';
        others += driver;
    }
    if (!others.empty()) SDL_SetHint(SDL_HINT_VIDEODRIVER, others.c_str());
}

// Starts SDL's video. A display that is named but refuses the connection may be
// an X server between two clients: a plain one resets when its last client
// leaves (a launcher script's xset, say) and refuses connections while it does.
// Video is started again for up to a second before a blind fall-back stands.
bool InitVideo() {
    const char* display = std::getenv("DISPLAY");
    const bool named = display && *display;
    SkipUnreachableWayland();
    for (int attempt = 1;; ++attempt) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
        const char* driver = SDL_GetCurrentVideoDriver();
        if (!named || attempt == kDisplayAttempts || !driver || !FellBackBlind(driver)) return true;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        SDL_Delay(kDisplayRetryMs);
    }
}

// The lock of the running platform, released when the X connection is lost.
InstanceLock* g_lockOfRunningPlatform = nullptr;

// Xlib's own handler of a lost connection prints its message and calls exit(),
// whose exit handlers then tear SDL down against the dead connection and raise
// the error again from inside exit(). This one ends the program at once instead.
int EndOnLostDisplay(Display* display) {
    const char* name = display ? XDisplayString(display) : "";
    LogLine("The connection to the display %s was lost: the game ends", name);
    std::fprintf(stderr, "anagura: lost the connection to the display %s: the game ends\n", name);
    if (g_lockOfRunningPlatform) g_lockOfRunningPlatform->Release();
    std::_Exit(1);
}

class SdlPlatform final : public Platform {
public:
    SdlPlatform() { g_lockOfRunningPlatform = &m_lock; }
    ~SdlPlatform() override {
        CloseAudio();
        CloseWindow();
        if (g_lockOfRunningPlatform == &m_lock) g_lockOfRunningPlatform = nullptr;
    }

    // ------------------------------------------------------------ window
    int DesktopBytesPerPixel() override {
        if (!StartVideo()) return 0;
        SDL_DisplayMode mode;
        if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return 0;
        return SDL_BYTESPERPIXEL(mode.format);
    }

    // Video starts once: the desktop query before it and this window share one
    // connection (an X server that resets when its last client leaves would
    // otherwise lose it in between).
    bool OpenWindow(const WindowRequest& request, std::string& error) override {
        DestroyWindowObjects();
        if (!StartVideo()) {
            error = std::string("no display available (") + SDL_GetError() + ")";
            return false;
        }
        // A blind fall-back is refused before a window is made on it (which takes a while).
        if (!CheckVideoDriver(error) || !CreateWindowObjects(request, error)) {
            CloseWindow();
            return false;
        }
        m_active = true;
        SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
        PresentBlackScreen();
        // After the first picture: starting SDL's gamepad part takes a millisecond or more.
        m_pads.Start(CurrentPlayerPrefs().padMappingFile);
        return true;
    }

    void CloseWindow() override {
        m_pads.Stop();
        DestroyWindowObjects();
        StopVideo();
    }

    // The game's own resize: not a choice of the player's.
    void ResizeWindow(double scale) override {
        if (!m_window) return;
        const int width = WindowSide(m_width, scale), height = WindowSide(m_height, scale);
        SDL_SetWindowSize(m_window, width, height);
        m_playerScale = FitPicture(width, height, m_width, m_height).scale;
    }

    // ------------------------------------------------------------ screen
    void Present(const void* pixels, int width, int height, int pitch, PixelFormat format) override {
        if (!m_renderer) return;
        if (!EnsureTexture(width, height, TextureFormatOf(format))) return;
        if (format == PixelFormat::Indexed8) {
            m_converted.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
            for (int y = 0; y < height; ++y) {
                const auto* row =
                    static_cast<const uint8_t*>(pixels) + static_cast<size_t>(y) * static_cast<size_t>(pitch);
                for (int x = 0; x < width; ++x)
                    m_converted[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] =
                        Palette()[row[x]];
            }
            SDL_UpdateTexture(m_texture, nullptr, m_converted.data(), width * 4);
        } else {
            SDL_UpdateTexture(m_texture, nullptr, pixels, pitch);
        }
        Show();
    }

    bool PresentWaitsForBlank() override { return m_renderer && m_vsync; }

    // A panel opened or closed while the game waits is shown at once, over the last picture.
    void ShowOverlay(const OverlayText& text, bool now) override {
        m_overlayText = text;
        if (now && m_renderer) Show();
    }

    // ------------------------------------------------------------ events and input
    void AttachInput(InputSink* sink) override {
        m_sink = sink;
        m_pads.Report(sink);
    }

    PumpResult PumpEvents() override {
        // Every pending event is taken: SDL's queue must not overflow and drop a close request.
        PumpResult result;
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            if (event.type == SDL_QUIT) m_quit = true;
            if (m_pads.Handle(event)) continue;
            if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) {
                ReportKey(event.key);
                continue;
            }
            if (event.type == SDL_WINDOWEVENT) TakeWindowEvent(event.window);
        }
        if (EndSignalCaught()) m_quit = true;
        if (m_lock.ShowRequested()) BringToFront();
        result.quit = m_quit;
        result.active = m_active;
        return result;
    }

    // SDL waits on the display connection itself; a null event leaves the
    // event queued for PumpEvents.
    void WaitForEvent(uint32_t timeoutMillis) override {
        SDL_WaitEventTimeout(nullptr, static_cast<int>(timeoutMillis));
    }

    // ------------------------------------------------------------ clock
    uint32_t NowMillis() override { return MonotonicMillis(); }
    void SleepMillis(uint32_t ms) override { SleepRealMillis(ms); }

    // ------------------------------------------------------------ one copy at a time
    bool AcquireInstanceLock(const std::string& name) override { return m_lock.Acquire(name); }
    void ReleaseInstanceLock() override { m_lock.Release(); }
    void AskRunningCopyToShow(const std::string& name) override { InstanceLock::AskHolderToShow(name); }

    // ------------------------------------------------------------ sound
    int OpenAudio(int preferredRate, AudioCallback callback, void* user) override {
        CloseAudio();
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            NoSoundOutput();
            return 0;
        }
        m_audioStarted = true;
        m_audioTarget.callback = callback;
        m_audioTarget.user = user;
        SDL_AudioSpec want;
        SDL_zero(want);
        want.freq = preferredRate > 0 ? preferredRate : 48000;
        want.format = AUDIO_S16SYS;
        want.channels = 2;
        want.samples = 1024;
        want.callback = AudioTrampoline;
        want.userdata = &m_audioTarget;
        SDL_AudioSpec have;
        m_audio = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
        if (m_audio == 0) {
            // SDL's audio part stays up until CloseAudio: ending it now would wait
            // for its device-watching thread (up to 0.1 s) before the first frame.
            NoSoundOutput();
            return 0;
        }
        SDL_PauseAudioDevice(m_audio, 0);
        return have.freq;
    }

    void CloseAudio() override {
        if (m_audio != 0) SDL_CloseAudioDevice(m_audio);
        m_audio = 0;
        if (m_audioStarted) SDL_QuitSubSystem(SDL_INIT_AUDIO);
        m_audioStarted = false;
    }

    // ------------------------------------------------------------ display
    int DisplayRefreshRate() override {
        if (!m_window) return 0;
        SDL_DisplayMode mode;
        const int display = SDL_GetWindowDisplayIndex(m_window);
        if (display < 0 || SDL_GetCurrentDisplayMode(display, &mode) != 0) return 0;
        return mode.refresh_rate;
    }

    bool DevicePullsByItself() const override { return true; }

    int ShownScale() override { return PictureInWindow().scale; }

    // Back in a window, the window gets its size from before: SDL may still
    // hold the fullscreen size when no window manager answers the switch.
    bool SetFullscreen(bool fullscreen) override {
        if (!m_window) return false;
        if (fullscreen == m_fullscreen) return true;
        const bool restoreSize = !(SDL_GetWindowFlags(m_window) & SDL_WINDOW_MAXIMIZED);
        if (fullscreen) SDL_GetWindowSize(m_window, &m_windowedWidth, &m_windowedHeight);
        if (SDL_SetWindowFullscreen(m_window, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
            LogLine("Cannot switch %s fullscreen (%s)", fullscreen ? "to" : "from", SDL_GetError());
            return false;
        }
        m_fullscreen = fullscreen;
        if (!fullscreen && restoreSize && m_windowedWidth > 0)
            SDL_SetWindowSize(m_window, m_windowedWidth, m_windowedHeight);
        SDL_ShowCursor(fullscreen ? SDL_DISABLE : SDL_ENABLE);
        return true;
    }

    bool Fullscreen() override { return m_fullscreen; }

    PlatformTraits Traits() const override {
        PlatformTraits traits;
        traits.savesScreenshots = true;
        traits.escapeEnds = true;
        traits.windowScales = true;
        traits.fullscreenAtStart = true;
        return traits;
    }

    // ------------------------------------------------------------ data files
    void AwaitDataFile(const char* /*path*/) override {}  // the data folder is all there

private:
    void ReportKey(const SDL_KeyboardEvent& key) {
        const uint8_t dik = DikOfScancode(key.keysym.scancode);
        if (dik && m_sink) m_sink->KeyChanged(dik, key.type == SDL_KEYDOWN, key.repeat != 0);
    }

    void TakeWindowEvent(const SDL_WindowEvent& window) {
        switch (window.event) {
            case SDL_WINDOWEVENT_CLOSE: m_quit = true; break;
            case SDL_WINDOWEVENT_FOCUS_LOST:
                if (m_sink) m_sink->AllKeysUp();  // their releases go to another window
                m_active = false;
                break;
            case SDL_WINDOWEVENT_MINIMIZED: m_active = false; break;
            case SDL_WINDOWEVENT_FOCUS_GAINED:
            case SDL_WINDOWEVENT_RESTORED: m_active = true; break;
            case SDL_WINDOWEVENT_SIZE_CHANGED:
                NoteWindowSize();
                if (m_overlayText.panel) Show();  // the game waits: nothing else draws the window
                break;
            default: break;
        }
    }

    // The overlay at the window's resolution, above the picture: a panel
    // centred in the window, a notice across the picture's top. Text is 4 window
    // pixels per screen pixel of the scale (the game's 8-pixel face at 2x).
    void DrawOverlay(const PictureFit& fit) {
        const OverlayText& text = m_overlayText;
        if (text.lines.empty()) return;
        const int pixelSize = 4 * std::max(fit.scale, 2);
        if (text.serial != m_overlaySerial || pixelSize != m_overlaySize) {
            m_overlaySerial = text.serial;
            m_overlaySize = pixelSize;
            if (!UploadOverlay(m_overlayPainter.Paint(text.lines, pixelSize))) return;
        }
        if (!m_overlay) return;
        int width = 0, height = 0;
        SDL_GetRendererOutputSize(m_renderer, &width, &height);
        SDL_Rect place{(width - m_overlayWidth) / 2, (height - m_overlayHeight) / 2, m_overlayWidth, m_overlayHeight};
        if (!text.panel) place.y = std::max(0, fit.y) + 2 * fit.scale;
        SDL_RenderCopy(m_renderer, m_overlay, nullptr, &place);
    }

    bool UploadOverlay(const OverlayPicture& picture) {
        if (m_overlay && (picture.width != m_overlayWidth || picture.height != m_overlayHeight)) {
            SDL_DestroyTexture(m_overlay);
            m_overlay = nullptr;
        }
        m_overlayWidth = picture.width;
        m_overlayHeight = picture.height;
        if (picture.pixels.empty()) return false;
        if (!m_overlay) {
            m_overlay = SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STATIC, picture.width,
                                          picture.height);
            if (!m_overlay) return false;
        }
        return SDL_UpdateTexture(m_overlay, nullptr, picture.pixels.data(), picture.width * 4) == 0;
    }

    // A window the player has resized: its whole multiple, when that changed.
    // The size is SDL's latest, not the event's: events of a fullscreen switch
    // may still be queued behind it.
    void NoteWindowSize() {
        if (m_fullscreen || !m_window) return;
        int width = 0, height = 0;
        SDL_GetWindowSize(m_window, &width, &height);
        const int scale = FitPicture(width, height, m_width, m_height).scale;
        if (scale == m_playerScale) return;
        m_playerScale = scale;
        if (m_sink) m_sink->WindowScaleChosen(scale);
    }

    // Another start of the game asked for this window: restored when minimised, raised, given the focus.
    void BringToFront() {
        if (!m_window) return;
        LogLine("Another start of the game: the window is brought to the front");
        if (SDL_GetWindowFlags(m_window) & SDL_WINDOW_MINIMIZED) SDL_RestoreWindow(m_window);
        SDL_RaiseWindow(m_window);
    }

    PictureFit PictureInWindow() {
        int width = 0, height = 0;
        if (m_renderer) SDL_GetRendererOutputSize(m_renderer, &width, &height);
        return FitPicture(width, height, m_width, m_height);
    }

    static void NoSoundOutput() {
        std::fprintf(stderr, "anagura: no sound output (%s): the game runs silent\n", SDL_GetError());
    }

    bool CreateWindowObjects(const WindowRequest& request, std::string& error) {
        m_width = request.width;
        m_height = request.height;
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
        Uint32 flags = SDL_WINDOW_RESIZABLE;
        if (!request.windowed) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
        const int windowWidth = WindowSide(m_width, request.scale);
        const int windowHeight = WindowSide(m_height, request.scale);
        // Made for OpenGL and shown at once where OpenGL is there: the OpenGL
        // renderer keeps such a window. A window made without OpenGL would be
        // remade by it, so one that was shown would be mapped, destroyed and
        // mapped again (a flash, and a window id that dies under anyone who
        // found it): without OpenGL the window stays hidden until its renderer
        // is made.
        m_window = SDL_CreateWindow("Anagura", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, windowWidth,
                                    windowHeight, flags | SDL_WINDOW_OPENGL);
        if (!m_window) {
            m_window = SDL_CreateWindow("Anagura", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, windowWidth,
                                        windowHeight, flags | SDL_WINDOW_HIDDEN);
        }
        if (!m_window) {
            error = std::string("SDL_CreateWindow: ") + SDL_GetError();
            return false;
        }
        SetIconFromDataFolder(m_window);
        SDL_SetWindowMinimumSize(m_window, m_width, m_height);
        m_playerScale = FitPicture(windowWidth, windowHeight, m_width, m_height).scale;
        m_windowedWidth = windowWidth;
        m_windowedHeight = windowHeight;
        m_fullscreen = !request.windowed;
        if (m_fullscreen) SDL_ShowCursor(SDL_DISABLE);
        m_renderer = SDL_CreateRenderer(m_window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
        if (!m_renderer) m_renderer = SDL_CreateRenderer(m_window, -1, SDL_RENDERER_SOFTWARE);
        if (!m_renderer) {
            error = std::string("SDL_CreateRenderer: ") + SDL_GetError();
            return false;
        }
        SDL_RendererInfo info;
        m_vsync = SDL_GetRendererInfo(m_renderer, &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC);
        if (!EnsureTexture(m_width, m_height, TextureFormatOf(request.format))) {
            error = std::string("SDL_CreateTexture: ") + SDL_GetError();
            return false;
        }
        SDL_ShowWindow(m_window);
        return true;
    }

    // The streaming texture the screen is uploaded to, remade when the screen's size or format changes.
    bool EnsureTexture(int width, int height, Uint32 format) {
        if (m_texture && width == m_textureWidth && height == m_textureHeight && format == m_textureFormat)
            return true;
        if (m_texture) SDL_DestroyTexture(m_texture);
        m_texture = SDL_CreateTexture(m_renderer, format, SDL_TEXTUREACCESS_STREAMING, width, height);
        m_textureWidth = width;
        m_textureHeight = height;
        m_textureFormat = format;
        m_width = width;
        m_height = height;
        if (m_window) SDL_SetWindowMinimumSize(m_window, width, height);
        return m_texture != nullptr;
    }

    void DestroyWindowObjects() {
        if (m_overlay) SDL_DestroyTexture(m_overlay);
        m_overlay = nullptr;
        m_overlaySerial = 0;
        if (m_texture) SDL_DestroyTexture(m_texture);
        if (m_renderer) SDL_DestroyRenderer(m_renderer);
        if (m_window) SDL_DestroyWindow(m_window);
        m_texture = nullptr;
        m_renderer = nullptr;
        m_window = nullptr;
    }

    bool StartVideo() {
        if (m_videoStarted) return true;
        if (!InitVideo()) return false;
        const char* driver = SDL_GetCurrentVideoDriver();
        if (driver && SDL_strcmp(driver, "x11") == 0) XSetIOErrorHandler(EndOnLostDisplay);
        m_videoStarted = true;
        m_quit = false;
        return true;
    }

    void StopVideo() {
        if (!m_videoStarted) return;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        m_videoStarted = false;
    }

    // The window opens black, shown through the same upload and copy as every
    // frame after it, so that the first frame finds that path ready (a software
    // OpenGL compiles its shaders on their first use, tens of milliseconds).
    void PresentBlackScreen() {
        const int bytesPerPixel = static_cast<int>(SDL_BYTESPERPIXEL(m_textureFormat));
        const std::vector<uint8_t> black(static_cast<size_t>(m_textureWidth * m_textureHeight * bytesPerPixel), 0);
        SDL_UpdateTexture(m_texture, nullptr, black.data(), m_textureWidth * bytesPerPixel);
        Show();
    }

    // The picture at its whole multiple, centred; the renderer's draw colour (black) around it.
    void Show() {
        SDL_RenderClear(m_renderer);
        if (m_texture) {
            const PictureFit fit = PictureInWindow();
            const SDL_Rect place{fit.x, fit.y, fit.width, fit.height};
            SDL_RenderCopy(m_renderer, m_texture, nullptr, &place);
            DrawOverlay(fit);
        }
        SDL_RenderPresent(m_renderer);
    }

    SDL_Window* m_window = nullptr;
    SDL_Renderer* m_renderer = nullptr;
    SDL_Texture* m_texture = nullptr;
    int m_textureWidth = 0, m_textureHeight = 0;
    Uint32 m_textureFormat = 0;
    int m_width = 0, m_height = 0;
    bool m_vsync = false;
    bool m_fullscreen = false;
    int m_windowedWidth = 0, m_windowedHeight = 0;  // the window's size before fullscreen
    int m_playerScale = 0;                          // the window's whole multiple last seen while windowed
    bool m_videoStarted = false;
    bool m_quit = false;
    bool m_active = true;
    InputSink* m_sink = nullptr;
    std::vector<uint32_t> m_converted;
    OverlayText m_overlayText;  // what shows above the picture
    OverlayPainter m_overlayPainter;
    SDL_Texture* m_overlay = nullptr;  // the overlay's last picture
    int m_overlayWidth = 0, m_overlayHeight = 0;
    uint64_t m_overlaySerial = 0;  // of the overlay text in m_overlay
    int m_overlaySize = 0;
    InstanceLock m_lock;
    SdlPads m_pads;
    SDL_AudioDeviceID m_audio = 0;
    bool m_audioStarted = false;  // SDL's audio part is up (also when no device opened)
    AudioTarget m_audioTarget;
};

}  // namespace

std::unique_ptr<Platform> MakeSdlPlatform() { return std::make_unique<SdlPlatform>(); }

void UseSdlPlatform() {
    CatchEndSignals();
    UsePlatform(MakeSdlPlatform());
    TheShell().SetMode(ShellMode::Player);
}

}  // namespace media
