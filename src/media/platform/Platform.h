// The thin layer under the media layer: a window that shows a finished screen
// and what the player sees above it, the player's input as it comes, a clock,
// an audio device and a per-user single-instance lock. Every function a backend
// supplies, with its whole contract, is in the template,
// platform/PlatformTemplate.cpp; every one is pure here, so a backend that
// misses one does not build. The backends follow the template's order and
// sections: the SDL one (media/sdl/, SDL2), the web page's (media/web/, a
// browser through emscripten) and the headless one (media/headless/, memory
// only). What the player's keys and buttons do is not a backend's business:
// the shell (media/shell/Shell.h) decides it once for all of them. Above the
// media layer only the programs' start (choosing one) and tests see this interface.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "media/platform/InputSink.h"
#include "media/platform/OverlayText.h"

namespace media {

// Pixel formats the screen can be kept in.
enum class PixelFormat { Indexed8, Rgb565, Xrgb8888 };

struct WindowRequest {
    int width = 640;  // screen size in pixels
    int height = 480;
    double scale = 1.0;  // client area = screen size x scale
    bool windowed = true;
    PixelFormat format = PixelFormat::Rgb565;  // the screen's pixels, as Present will hand them
};

struct PumpResult {
    bool quit = false;   // the window was closed
    bool active = true;  // the window has the focus and is not minimised
};

// What differs between platforms in what the player can do; the shell and the
// help panel follow it.
struct PlatformTraits {
    bool savesScreenshots = false;  // F12 saves the picture (in a browser F12 is the browser's)
    bool escapeEnds = true;         // Escape with no panel open ends the game (not in a page)
    bool windowScales = false;      // the player chooses the window's whole multiple
    bool fullscreenAtStart = false; // fullscreen can be chosen for the next start
};

// Fills `frames` stereo frames (interleaved int16 L, R) at the device rate.
// Called on the audio thread; must not block for long and must not allocate.
using AudioCallback = void (*)(void* user, int16_t* out, int frames);

class Platform {
public:
    virtual ~Platform() = default;

    // ------------------------------------------------------------ window
    // Bytes per pixel of the desktop, 0 when unknown (24-bit check).
    virtual int DesktopBytesPerPixel() = 0;
    // Opens the window, ready to present; false with a reason in `error` (also
    // when the only window it could make is one nobody sees).
    virtual bool OpenWindow(const WindowRequest& request, std::string& error) = 0;
    virtual void CloseWindow() = 0;
    // The game's own resize: client area = screen size x scale.
    virtual void ResizeWindow(double scale) = 0;

    // ------------------------------------------------------------ screen
    // Shows a finished screen (pitch in bytes), with the overlay above it.
    virtual void Present(const void* pixels, int width, int height, int pitch, PixelFormat format) = 0;
    // True when Present waits for the display's vertical blank, so that the
    // times presents end are blanks (the refresh period is timed on them).
    virtual bool PresentWaitsForBlank() = 0;
    // The overlay from now on: shown with the next picture, or at once (with the last picture) when `now`.
    virtual void ShowOverlay(const OverlayText& text, bool now) = 0;

    // ------------------------------------------------------------ events and input
    // Where the player's input goes from now on (null: nowhere).
    virtual void AttachInput(InputSink* sink) = 0;
    // Takes the pending window events, reporting input to the sink; says quit/focus.
    virtual PumpResult PumpEvents() = 0;
    // Blocks until a window event is pending or timeoutMillis have passed,
    // whichever comes first; the event stays for PumpEvents.
    virtual void WaitForEvent(uint32_t timeoutMillis) = 0;

    // ------------------------------------------------------------ clock
    virtual uint32_t NowMillis() = 0;
    virtual void SleepMillis(uint32_t ms) = 0;

    // ------------------------------------------------------------ one copy at a time
    // Per-user lock named `name`; false when another process holds it.
    virtual bool AcquireInstanceLock(const std::string& name) = 0;
    virtual void ReleaseInstanceLock() = 0;
    // Asks the process holding the lock named `name` to bring its window to the front.
    virtual void AskRunningCopyToShow(const std::string& name) = 0;

    // ------------------------------------------------------------ sound
    // Opens a stereo int16 device; returns the device rate, or 0 when there is none.
    virtual int OpenAudio(int preferredRate, AudioCallback callback, void* user) = 0;
    virtual void CloseAudio() = 0;
    // True when an open device pulls samples on a thread of its own.
    virtual bool DevicePullsByItself() const = 0;

    // ------------------------------------------------------------ display
    // Refresh rate of the display mode in Hz, 0 when unknown.
    virtual int DisplayRefreshRate() = 0;
    // The whole multiple the screen is shown at in the window now.
    virtual int ShownScale() = 0;
    // Switches a running window to desktop fullscreen or back; false when it failed.
    virtual bool SetFullscreen(bool fullscreen) = 0;
    // True while the window is fullscreen.
    virtual bool Fullscreen() = 0;
    // What the player can do on this platform.
    virtual PlatformTraits Traits() const = 0;

    // ------------------------------------------------------------ data files
    // Returns once the data file `path` can be opened, or will never be.
    virtual void AwaitDataFile(const char* path) = 0;
};

// The platform the media layer runs on, chosen by the program before it uses
// the media layer: the game the SDL one (media/sdl/SdlPlatform.h), tests and
// tools mostly the headless one (media/headless/HeadlessControls.h). Until one is chosen, the layer
// has the system's clock and no devices: it logs, but does not start.
Platform& CurrentPlatform();
void UsePlatform(std::unique_ptr<Platform> platform);
// Where every platform reports the player's input: the current one now and
// those chosen later (the shell, which sets it when it is made).
void SetPlatformInputSink(InputSink* sink);
// The template (PlatformTemplate.cpp): the system's clock and no devices.
std::unique_ptr<Platform> MakeTemplatePlatform();

// The system's monotonic millisecond clock (wraps at 2^32) and a plain sleep.
uint32_t MonotonicMillis();
void SleepRealMillis(uint32_t ms);

}  // namespace media
