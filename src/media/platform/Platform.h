// The thin layer under the media layer: a window that shows a finished screen,
// a keyboard, a clock, an audio device and a per-user single-instance lock.
// Every function a backend supplies, with its whole contract, is in the
// template, platform/PlatformTemplate.cpp; the backends follow its order and
// sections: the SDL one (media/sdl/, SDL2), the web page's (media/web/, a
// browser through emscripten) and the headless one
// (media/headless/, memory only). Above the media layer only the programs' start
// (choosing one) and tests see this interface.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

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
    virtual void ResizeWindow(double scale) = 0;

    // ------------------------------------------------------------ screen
    // Shows a finished screen (pitch in bytes).
    virtual void Present(const void* pixels, int width, int height, int pitch, PixelFormat format) = 0;
    // True when Present waits for the display's vertical blank, so that the
    // times presents end are blanks (the refresh period is timed on them).
    virtual bool PresentWaitsForBlank() = 0;

    // ------------------------------------------------------------ events and keys
    // Takes at most maxEvents window events and reports quit/focus.
    virtual PumpResult PumpEvents(int maxEvents) = 0;
    // Blocks until a window event is pending or timeoutMillis have passed,
    // whichever comes first; the event stays for PumpEvents.
    virtual void WaitForEvent(uint32_t timeoutMillis) = 0;
    // keys[k] = 1 while the key with DIK code k is down.
    virtual void ReadKeys(uint8_t keys[256]) = 0;

    // ------------------------------------------------------------ clock
    virtual uint32_t NowMillis() = 0;
    virtual void SleepMillis(uint32_t ms) = 0;

    // ------------------------------------------------------------ one copy at a time
    // Per-user lock named `name`; false when another process holds it.
    virtual bool AcquireInstanceLock(const std::string& name) = 0;
    virtual void ReleaseInstanceLock() = 0;
    // Asks the process holding the lock named `name` to bring its window to the front.
    virtual void AskRunningCopyToShow(const std::string& /*name*/) {}

    // ------------------------------------------------------------ sound
    // Opens a stereo int16 device; returns the device rate, or 0 when there is none.
    virtual int OpenAudio(int preferredRate, AudioCallback callback, void* user) = 0;
    virtual void CloseAudio() = 0;
    // True when an open device pulls samples on a thread of its own (the
    // headless one is pulled by its caller).
    virtual bool DevicePullsByItself() const { return true; }

    // ------------------------------------------------------------ display
    // Refresh rate of the display mode in Hz, 0 when unknown.
    virtual int DisplayRefreshRate() { return 0; }
    // The whole multiple the screen is shown at in the window now.
    virtual int ShownScale() { return 1; }
    // Switches a running window to desktop fullscreen or back; false when it failed.
    virtual bool SetFullscreen(bool /*fullscreen*/) { return true; }
    // True when F12 saves a screenshot of the window (in a browser F12 is the browser's).
    virtual bool SavesScreenshots() const { return false; }

    // ------------------------------------------------------------ data files
    // Returns once the data file `path` can be opened, or will never be: where
    // data files arrive while the game runs (a web page), waits for it.
    virtual void AwaitDataFile(const char* /*path*/) {}
};

// The platform the media layer runs on, chosen by the program before it uses
// the media layer: the game the SDL one (media/sdl/SdlPlatform.h), tests and
// tools mostly the headless one (media/headless/HeadlessControls.h). Until one is chosen, the layer
// has the system's clock and no devices: it logs, but does not start.
Platform& CurrentPlatform();
void UsePlatform(std::unique_ptr<Platform> platform);
// The template (PlatformTemplate.cpp): the system's clock and no devices.
std::unique_ptr<Platform> MakeTemplatePlatform();

// The system's monotonic millisecond clock (wraps at 2^32) and a plain sleep.
uint32_t MonotonicMillis();
void SleepRealMillis(uint32_t ms);

}  // namespace media
