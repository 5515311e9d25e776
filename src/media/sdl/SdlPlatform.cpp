// The SDL2 platform: a resizable window showing the finished screen through a
// streaming texture, at the largest whole multiple that fits, centred on black,
// nearest-neighbour, presented with vsync; F11 and Alt+Enter switch desktop
// fullscreen, F12 takes a screenshot and F1 (or a gamepad's Back button) opens
// and closes the help panel (keys the game never sees); the overlay of
// WindowOverlay.h in a texture of its own above the picture; the keyboard
// as DIK scan codes, with gamepads pressing keys too (SdlPads); the
// audio device. With SdlPads, the only files that include SDL. The platform
// functions follow the template (platform/PlatformTemplate.cpp), in its sections.
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
#include "media/core/WindowOverlay.h"
#include "media/platform/KeyPositions.h"
#include "media/platform/Platform.h"
#include "media/sdl/EndSignals.h"
#include "media/sdl/SdlPads.h"
#include "media/sdl/SdlPlatform.h"
#include "media/text/OverlayPainter.h"
#include "media/video/ImageDecoder.h"
#include "media/video/ImageFile.h"
#include "media/video/PictureFit.h"
#include "media/video/PixelMath.h"
#include "media/video/Screenshot.h"

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
    SdlPlatform() { g_lockOfRunningPlatform = &lock_; }
    ~SdlPlatform() override {
        CloseAudio();
        CloseWindow();
        if (g_lockOfRunningPlatform == &lock_) g_lockOfRunningPlatform = nullptr;
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
        active_ = true;
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        PresentBlackScreen();
        // After the first picture: starting SDL's gamepad part takes a millisecond or more.
        pads_.Start(CurrentPlayerPrefs().padMappingFile);
        return true;
    }

    void CloseWindow() override {
        pads_.Stop();
        DestroyWindowObjects();
        StopVideo();
    }

    // The game's own resize: not a choice of the player's.
    void ResizeWindow(double scale) override {
        if (!window_) return;
        const int width = WindowSide(width_, scale), height = WindowSide(height_, scale);
        SDL_SetWindowSize(window_, width, height);
        playerScale_ = FitPicture(width, height, width_, height_).scale;
    }

    // ------------------------------------------------------------ screen
    void Present(const void* pixels, int width, int height, int pitch, PixelFormat format) override {
        if (!renderer_) return;
        if (!EnsureTexture(width, height, TextureFormatOf(format))) return;
        if (format == PixelFormat::Indexed8) {
            converted_.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
            for (int y = 0; y < height; ++y) {
                const auto* row =
                    static_cast<const uint8_t*>(pixels) + static_cast<size_t>(y) * static_cast<size_t>(pitch);
                for (int x = 0; x < width; ++x)
                    converted_[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] =
                        Palette()[row[x]];
            }
            SDL_UpdateTexture(texture_, nullptr, converted_.data(), width * 4);
        } else {
            SDL_UpdateTexture(texture_, nullptr, pixels, pitch);
        }
        Show();
    }

    bool PresentWaitsForBlank() override { return renderer_ && vsync_; }

    // ------------------------------------------------------------ events and keys
    PumpResult PumpEvents(int /*maxEvents*/) override {
        // Every pending event is taken: SDL's queue must not overflow and drop a close request.
        PumpResult result;
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            if (event.type == SDL_QUIT) quit_ = true;
            if (event.type == SDL_CONTROLLERBUTTONDOWN && event.cbutton.button == SDL_CONTROLLER_BUTTON_BACK)
                ToggleHelp();
            if (pads_.Handle(event)) continue;
            if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) {
                if (TakePlayerKey(event.key)) continue;
                const int scancode = event.key.keysym.scancode;
                const uint8_t dik = DikOfScancode(scancode);
                if (!dik) continue;
                down_[dik] = event.type == SDL_KEYDOWN ? 1 : 0;
                if (event.type == SDL_KEYDOWN) pressedSinceRead_[dik] = 1;
                continue;
            }
            if (event.type != SDL_WINDOWEVENT) continue;
            switch (event.window.event) {
                case SDL_WINDOWEVENT_CLOSE: quit_ = true; break;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                case SDL_WINDOWEVENT_MINIMIZED: active_ = false; break;
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                case SDL_WINDOWEVENT_RESTORED: active_ = true; break;
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    NoteWindowSize();
                    if (HelpPanelOpen()) Show();  // the game waits: nothing else draws the window
                    break;
                default: break;
            }
        }
        if (EndSignalCaught()) quit_ = true;
        if (lock_.ShowRequested()) BringToFront();
        result.quit = quit_;
        result.active = active_ && !HelpPanelOpen();
        return result;
    }

    // SDL waits on the display connection itself; a null event leaves the
    // event queued for PumpEvents.
    void WaitForEvent(uint32_t timeoutMillis) override {
        SDL_WaitEventTimeout(nullptr, static_cast<int>(timeoutMillis));
    }

    // A key counts as down while it is held, and also in the first read after it
    // went down: a tap shorter than a frame is seen once rather than lost. So
    // does a gamepad's button, as the key of its game button.
    void ReadKeys(uint8_t keys[256]) override {
        for (int k = 0; k < 256; ++k) keys[k] = (down_[k] | pressedSinceRead_[k]) ? 1 : 0;
        std::memset(pressedSinceRead_, 0, sizeof pressedSinceRead_);
        pads_.PressKeys(keys, PadButtonKeys());
    }

    // ------------------------------------------------------------ clock
    uint32_t NowMillis() override { return MonotonicMillis(); }
    void SleepMillis(uint32_t ms) override { SleepRealMillis(ms); }

    // ------------------------------------------------------------ one copy at a time
    bool AcquireInstanceLock(const std::string& name) override { return lock_.Acquire(name); }
    void ReleaseInstanceLock() override { lock_.Release(); }
    void AskRunningCopyToShow(const std::string& name) override { InstanceLock::AskHolderToShow(name); }

    // ------------------------------------------------------------ sound
    int OpenAudio(int preferredRate, AudioCallback callback, void* user) override {
        CloseAudio();
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            NoSoundOutput();
            return 0;
        }
        audioStarted_ = true;
        audioTarget_.callback = callback;
        audioTarget_.user = user;
        SDL_AudioSpec want;
        SDL_zero(want);
        want.freq = preferredRate > 0 ? preferredRate : 48000;
        want.format = AUDIO_S16SYS;
        want.channels = 2;
        want.samples = 1024;
        want.callback = AudioTrampoline;
        want.userdata = &audioTarget_;
        SDL_AudioSpec have;
        audio_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
        if (audio_ == 0) {
            // SDL's audio part stays up until CloseAudio: ending it now would wait
            // for its device-watching thread (up to 0.1 s) before the first frame.
            NoSoundOutput();
            return 0;
        }
        SDL_PauseAudioDevice(audio_, 0);
        return have.freq;
    }

    void CloseAudio() override {
        if (audio_ != 0) SDL_CloseAudioDevice(audio_);
        audio_ = 0;
        if (audioStarted_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
        audioStarted_ = false;
    }

    // ------------------------------------------------------------ display
    int DisplayRefreshRate() override {
        if (!window_) return 0;
        SDL_DisplayMode mode;
        const int display = SDL_GetWindowDisplayIndex(window_);
        if (display < 0 || SDL_GetCurrentDisplayMode(display, &mode) != 0) return 0;
        return mode.refresh_rate;
    }

    int ShownScale() override { return PictureInWindow().scale; }

    // Back in a window, the window gets its size from before: SDL may still
    // hold the fullscreen size when no window manager answers the switch.
    bool SetFullscreen(bool fullscreen) override {
        if (!window_) return false;
        if (fullscreen == fullscreen_) return true;
        const bool restoreSize = !(SDL_GetWindowFlags(window_) & SDL_WINDOW_MAXIMIZED);
        if (fullscreen) SDL_GetWindowSize(window_, &windowedWidth_, &windowedHeight_);
        if (SDL_SetWindowFullscreen(window_, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
            LogLine("Cannot switch %s fullscreen (%s)", fullscreen ? "to" : "from", SDL_GetError());
            return false;
        }
        fullscreen_ = fullscreen;
        if (!fullscreen && restoreSize && windowedWidth_ > 0)
            SDL_SetWindowSize(window_, windowedWidth_, windowedHeight_);
        SDL_ShowCursor(fullscreen ? SDL_DISABLE : SDL_ENABLE);
        return true;
    }

private:
    // F11 and Alt+Enter switch fullscreen, F12 takes a screenshot, F1 opens
    // or closes the help panel. True for these keys, which never reach the
    // game's key array (up or down).
    bool TakePlayerKey(const SDL_KeyboardEvent& key) {
        const SDL_Scancode code = key.keysym.scancode;
        const bool altEnter = code == SDL_SCANCODE_RETURN && (key.keysym.mod & KMOD_ALT);
        if (code != SDL_SCANCODE_F1 && code != SDL_SCANCODE_F11 && code != SDL_SCANCODE_F12 && !altEnter)
            return false;
        if (key.type != SDL_KEYDOWN || key.repeat) return true;
        if (code == SDL_SCANCODE_F1) ToggleHelp();
        else if (code == SDL_SCANCODE_F12) SaveScreenshot();
        else if (SetFullscreen(!fullscreen_)) NotePlayerFullscreen(fullscreen_);
        return true;
    }

    // The panel opens or closes at once: the window shows it (or the picture
    // alone again) without waiting for the game's next frame.
    void ToggleHelp() {
        ToggleHelpPanel();
        if (renderer_) Show();
    }

    // The overlay at the window's resolution, above the picture: the help panel
    // centred in the window, a notice across the picture's top. Text is 4 window
    // pixels per screen pixel of the scale (the game's 8-pixel face at 2x).
    void ShowOverlay(const PictureFit& fit) {
        const OverlayText& text = CurrentOverlay(MonotonicMillis());
        if (text.lines.empty()) return;
        const int pixelSize = 4 * std::max(fit.scale, 2);
        if (text.serial != overlaySerial_ || pixelSize != overlaySize_) {
            overlaySerial_ = text.serial;
            overlaySize_ = pixelSize;
            if (!UploadOverlay(overlayPainter_.Paint(text.lines, pixelSize))) return;
        }
        if (!overlay_) return;
        int width = 0, height = 0;
        SDL_GetRendererOutputSize(renderer_, &width, &height);
        SDL_Rect place{(width - overlayWidth_) / 2, (height - overlayHeight_) / 2, overlayWidth_, overlayHeight_};
        if (!text.panel) place.y = std::max(0, fit.y) + 2 * fit.scale;
        SDL_RenderCopy(renderer_, overlay_, nullptr, &place);
    }

    bool UploadOverlay(const OverlayPicture& picture) {
        if (overlay_ && (picture.width != overlayWidth_ || picture.height != overlayHeight_)) {
            SDL_DestroyTexture(overlay_);
            overlay_ = nullptr;
        }
        overlayWidth_ = picture.width;
        overlayHeight_ = picture.height;
        if (picture.pixels.empty()) return false;
        if (!overlay_) {
            overlay_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STATIC, picture.width,
                                         picture.height);
            if (!overlay_) return false;
        }
        return SDL_UpdateTexture(overlay_, nullptr, picture.pixels.data(), picture.width * 4) == 0;
    }

    // A window the player has resized: its whole multiple, when that changed.
    // The size is SDL's latest, not the event's: events of a fullscreen switch
    // may still be queued behind it.
    void NoteWindowSize() {
        if (fullscreen_ || !window_) return;
        int width = 0, height = 0;
        SDL_GetWindowSize(window_, &width, &height);
        const int scale = FitPicture(width, height, width_, height_).scale;
        if (scale == playerScale_) return;
        playerScale_ = scale;
        NotePlayerScale(scale);
    }

    // Another start of the game asked for this window: restored when minimised, raised, given the focus.
    void BringToFront() {
        if (!window_) return;
        LogLine("Another start of the game: the window is brought to the front");
        if (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED) SDL_RestoreWindow(window_);
        SDL_RaiseWindow(window_);
    }

    PictureFit PictureInWindow() {
        int width = 0, height = 0;
        if (renderer_) SDL_GetRendererOutputSize(renderer_, &width, &height);
        return FitPicture(width, height, width_, height_);
    }

    static void NoSoundOutput() {
        std::fprintf(stderr, "anagura: no sound output (%s): the game runs silent\n", SDL_GetError());
    }

    bool CreateWindowObjects(const WindowRequest& request, std::string& error) {
        width_ = request.width;
        height_ = request.height;
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
        Uint32 flags = SDL_WINDOW_RESIZABLE;
        if (!request.windowed) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
        const int windowWidth = WindowSide(width_, request.scale);
        const int windowHeight = WindowSide(height_, request.scale);
        // Made for OpenGL and shown at once where OpenGL is there: the OpenGL
        // renderer keeps such a window. A window made without OpenGL would be
        // remade by it, so one that was shown would be mapped, destroyed and
        // mapped again (a flash, and a window id that dies under anyone who
        // found it): without OpenGL the window stays hidden until its renderer
        // is made.
        window_ = SDL_CreateWindow("Anagura", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, windowWidth,
                                   windowHeight, flags | SDL_WINDOW_OPENGL);
        if (!window_) {
            window_ = SDL_CreateWindow("Anagura", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, windowWidth,
                                       windowHeight, flags | SDL_WINDOW_HIDDEN);
        }
        if (!window_) {
            error = std::string("SDL_CreateWindow: ") + SDL_GetError();
            return false;
        }
        SetIconFromDataFolder(window_);
        SDL_SetWindowMinimumSize(window_, width_, height_);
        playerScale_ = FitPicture(windowWidth, windowHeight, width_, height_).scale;
        windowedWidth_ = windowWidth;
        windowedHeight_ = windowHeight;
        fullscreen_ = !request.windowed;
        if (fullscreen_) SDL_ShowCursor(SDL_DISABLE);
        renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
        if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
        if (!renderer_) {
            error = std::string("SDL_CreateRenderer: ") + SDL_GetError();
            return false;
        }
        SDL_RendererInfo info;
        vsync_ = SDL_GetRendererInfo(renderer_, &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC);
        if (!EnsureTexture(width_, height_, TextureFormatOf(request.format))) {
            error = std::string("SDL_CreateTexture: ") + SDL_GetError();
            return false;
        }
        SDL_ShowWindow(window_);
        return true;
    }

    // The streaming texture the screen is uploaded to, remade when the screen's size or format changes.
    bool EnsureTexture(int width, int height, Uint32 format) {
        if (texture_ && width == textureWidth_ && height == textureHeight_ && format == textureFormat_) return true;
        if (texture_) SDL_DestroyTexture(texture_);
        texture_ = SDL_CreateTexture(renderer_, format, SDL_TEXTUREACCESS_STREAMING, width, height);
        textureWidth_ = width;
        textureHeight_ = height;
        textureFormat_ = format;
        width_ = width;
        height_ = height;
        if (window_) SDL_SetWindowMinimumSize(window_, width, height);
        return texture_ != nullptr;
    }

    void DestroyWindowObjects() {
        if (overlay_) SDL_DestroyTexture(overlay_);
        overlay_ = nullptr;
        overlaySerial_ = 0;
        if (texture_) SDL_DestroyTexture(texture_);
        if (renderer_) SDL_DestroyRenderer(renderer_);
        if (window_) SDL_DestroyWindow(window_);
        texture_ = nullptr;
        renderer_ = nullptr;
        window_ = nullptr;
    }

    bool StartVideo() {
        if (videoStarted_) return true;
        if (!InitVideo()) return false;
        const char* driver = SDL_GetCurrentVideoDriver();
        if (driver && SDL_strcmp(driver, "x11") == 0) XSetIOErrorHandler(EndOnLostDisplay);
        videoStarted_ = true;
        quit_ = false;
        std::memset(down_, 0, sizeof down_);
        std::memset(pressedSinceRead_, 0, sizeof pressedSinceRead_);
        return true;
    }

    void StopVideo() {
        if (!videoStarted_) return;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        videoStarted_ = false;
    }

    // The window opens black, shown through the same upload and copy as every
    // frame after it, so that the first frame finds that path ready (a software
    // OpenGL compiles its shaders on their first use, tens of milliseconds).
    void PresentBlackScreen() {
        const int bytesPerPixel = static_cast<int>(SDL_BYTESPERPIXEL(textureFormat_));
        const std::vector<uint8_t> black(static_cast<size_t>(textureWidth_ * textureHeight_ * bytesPerPixel), 0);
        SDL_UpdateTexture(texture_, nullptr, black.data(), textureWidth_ * bytesPerPixel);
        Show();
    }

    // The picture at its whole multiple, centred; the renderer's draw colour (black) around it.
    void Show() {
        SDL_RenderClear(renderer_);
        if (texture_) {
            const PictureFit fit = PictureInWindow();
            const SDL_Rect place{fit.x, fit.y, fit.width, fit.height};
            SDL_RenderCopy(renderer_, texture_, nullptr, &place);
            ShowOverlay(fit);
        }
        SDL_RenderPresent(renderer_);
    }

    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    int textureWidth_ = 0, textureHeight_ = 0;
    Uint32 textureFormat_ = 0;
    int width_ = 0, height_ = 0;
    bool vsync_ = false;
    bool fullscreen_ = false;
    int windowedWidth_ = 0, windowedHeight_ = 0;  // the window's size before fullscreen
    int playerScale_ = 0;                         // the window's whole multiple last seen while windowed
    bool videoStarted_ = false;
    bool quit_ = false;
    bool active_ = true;
    uint8_t down_[256] = {};
    uint8_t pressedSinceRead_[256] = {};
    std::vector<uint32_t> converted_;
    OverlayPainter overlayPainter_;
    SDL_Texture* overlay_ = nullptr;  // the overlay's last picture
    int overlayWidth_ = 0, overlayHeight_ = 0;
    uint64_t overlaySerial_ = 0;  // of the overlay text in overlay_
    int overlaySize_ = 0;
    InstanceLock lock_;
    SdlPads pads_;
    SDL_AudioDeviceID audio_ = 0;
    bool audioStarted_ = false;  // SDL's audio part is up (also when no device opened)
    AudioTarget audioTarget_;
};

}  // namespace

std::unique_ptr<Platform> MakeSdlPlatform() { return std::make_unique<SdlPlatform>(); }

void UseSdlPlatform() {
    CatchEndSignals();
    UsePlatform(MakeSdlPlatform());
}

}  // namespace media
