// The platform template: every function a backend supplies, in the order the
// backends write them, each with its contract. A new backend starts as a copy of
// this class in a room of its own (src/media/<name>/, the only place its system
// headers are included) and fills the bodies in; the program chooses it with
// UsePlatform before the media layer starts.
//
// Compiled as it stands, the template is the platform the media layer runs on
// until the program chooses one: the system's clock and no devices, so a start
// fails as one without a display would (and says why in the log).
//
// A backend has no policy of its own: it reports the player's keys and buttons
// to the input sink as they come (what they do is the shell's, media/shell/),
// and shows what it is given. Every function is pure in Platform.h: a backend
// (this template included) that misses one does not build.
//
// What every backend can count on:
// - The media layer calls the platform with its operation lock held, so from one
//   thread at a time (core/OperationLock.h); only the audio callback runs on
//   another thread (the device's).
// - Screens arrive finished: the layer draws in memory and hands over whole
//   pictures, so a backend only scales and shows them.
// - The window is opened at most once between starts: OpenWindow, then the
//   other calls, then CloseWindow (also after an OpenWindow that failed).
// The backends: sdl/SdlPlatform.cpp (SDL2: a real window, keyboard, gamepads,
// sound), web/WebPlatform.cpp (the browser: a canvas, Web Audio, the Gamepad
// API) and headless/HeadlessPlatform.cpp (memory only, for tests and tools).
#include <cstring>

#include "media/platform/Platform.h"

namespace media {
namespace {

class TemplatePlatform final : public Platform {
public:
    // ------------------------------------------------------------ window

    // Bytes per pixel of the desktop, 0 when unknown. Asked once before the
    // window opens: the layer refuses a desktop of 3 (24-bit colour). May start
    // the display connection that OpenWindow goes on using.
    int DesktopBytesPerPixel() override { return 0; }

    // Opens a window showing a screen of request.width x request.height at
    // request.scale (client area = screen size x scale), windowed or at desktop
    // size, ready for Present; pictures come in request.format. The first thing
    // shown should be black. False, with a reason in `error` for the log, when
    // no window can be made, and also when the only one possible is one nobody
    // sees (a display that is not there).
    bool OpenWindow(const WindowRequest& /*request*/, std::string& error) override {
        error = "no platform chosen";
        return false;
    }

    // Closes the window and whatever came with it (renderer, input devices).
    // Harmless when nothing is open.
    void CloseWindow() override {}

    // The game changes its window's scale: the client area becomes screen size
    // x scale. Ignored before the window is open.
    void ResizeWindow(double /*scale*/) override {}

    // ------------------------------------------------------------ screen

    // Shows a finished screen: `height` rows of `width` pixels in `format`, rows
    // `pitch` bytes apart (Indexed8 pixels index the fixed 256-colour palette of
    // video/PixelMath.h). The pixels belong to the caller and change after the
    // call returns: copy what is kept. Scales the picture into the window by a
    // whole multiple where it fits (video/PictureFit.h), centred on black, and
    // shows the overlay last given to ShowOverlay above it.
    void Present(const void* /*pixels*/, int /*width*/, int /*height*/, int /*pitch*/,
                 PixelFormat /*format*/) override {}

    // True when Present returns at the display's vertical blank: the layer then
    // times the refresh period on its first presents. Otherwise, or when that
    // timing fails, it takes the period from DisplayRefreshRate. Either way it
    // never presents twice within one period.
    bool PresentWaitsForBlank() override { return false; }

    // The overlay from now on (platform/OverlayText.h): a panel centred in the
    // window, or a notice across the picture's top, at the window's resolution
    // and never in the picture (screenshots do not see it); nothing when its
    // lines are empty. Shown with the next Present; when `now`, at once above the
    // last picture (the game waits while a panel opens, changes or closes).
    void ShowOverlay(const OverlayText& /*text*/, bool /*now*/) override {}

    // ------------------------------------------------------------ events and input

    // Where the player's input goes from now on (null: nowhere; called before
    // OpenWindow and whenever the platform is replaced). Every key that goes
    // down or up is reported with its DIK number (KeyPositions.h), as it comes
    // (a tap between two frames is two reports); gamepad buttons as player
    // buttons (PadButtons.h), a page's touch controls the same; AllKeysUp when
    // the window loses the keyboard with keys still down; WindowScaleChosen when
    // the player resizes the window to another whole multiple. Reports come from
    // PumpEvents, or from the system's own callbacks where it has them (a page);
    // a key the sink does not take (KeyChanged false) is left to the system.
    void AttachInput(InputSink* /*sink*/) override {}

    // Takes the pending window events (reporting input as it goes) and says:
    // quit once the player closed the window (and from then on), active while
    // the window has the focus and is not minimised. While inactive the layer
    // freezes the game and waits in WaitForEvent.
    PumpResult PumpEvents() override { return {}; }

    // Blocks until a window event is pending or timeoutMillis have passed; the
    // event stays for PumpEvents. Used while frozen; waking early is harmless.
    void WaitForEvent(uint32_t timeoutMillis) override { SleepRealMillis(timeoutMillis); }

    // ------------------------------------------------------------ clock

    // Milliseconds of a monotonic clock, wrapping at 2^32; never goes back.
    uint32_t NowMillis() override { return MonotonicMillis(); }

    // Waits ms milliseconds (as NowMillis counts them: a virtual clock
    // advances instead of sleeping).
    void SleepMillis(uint32_t ms) override { SleepRealMillis(ms); }

    // ------------------------------------------------------------ one copy at a time

    // Takes the per-user lock `name` (core/InstanceLock.h where the system has
    // files); false while another process holds it. A platform with no other
    // processes to meet returns true.
    bool AcquireInstanceLock(const std::string& /*name*/) override { return true; }

    // Gives the lock back; harmless when not held.
    void ReleaseInstanceLock() override {}

    // A start found the lock `name` held: asks the process holding it to bring
    // its window to the front (the SDL backend rings the lock's doorbell, which
    // the running copy answers). Nothing to do where there is no other process.
    void AskRunningCopyToShow(const std::string& /*name*/) override {}

    // ------------------------------------------------------------ sound

    // Opens a stereo int16 output near preferredRate and starts pulling: the
    // device calls `callback(user, out, frames)` for interleaved frames at the
    // device rate, on a thread of its own. Returns the device rate, or 0 when
    // there is no output (the game then runs silent).
    int OpenAudio(int /*preferredRate*/, AudioCallback /*callback*/, void* /*user*/) override { return 0; }

    // Stops pulling and closes the output: after it returns the callback is
    // not called again. Harmless when nothing is open.
    void CloseAudio() override {}

    // True when the open device pulls samples on its own thread: the layer then
    // feeds its streams from a thread of its own (sound/StreamFeeder.h). False
    // when the caller pulls (the headless device, pulled by the tests and tools).
    bool DevicePullsByItself() const override { return true; }

    // ------------------------------------------------------------ display

    // Refresh rate of the display the window is on, in Hz; 0 when unknown.
    int DisplayRefreshRate() override { return 0; }

    // The whole multiple the screen is shown at in the window now (1 when it
    // is shrunk or there is no window); screenshots are saved at it.
    int ShownScale() override { return 1; }

    // Switches a running window to desktop-size fullscreen or back to a window
    // of its earlier size; false when the switch failed (the window stays as
    // it was).
    bool SetFullscreen(bool /*fullscreen*/) override { return true; }

    // True while the window is fullscreen (as far as the platform knows: a page
    // asks the browser, which may still be switching).
    bool Fullscreen() override { return false; }

    // What the player can do here (Platform.h's PlatformTraits): whether F12
    // saves screenshots, whether Escape may end the game, whether the window's
    // multiple and fullscreen at start are the player's to choose.
    PlatformTraits Traits() const override { return {}; }

    // ------------------------------------------------------------ data files

    // Returns once the data file `path` can be opened, or never will be. Where
    // the data arrive while the game runs (the web page fetches them), waits
    // for the file; where the data folder is all there from the start, returns
    // at once.
    void AwaitDataFile(const char* /*path*/) override {}
};

}  // namespace

std::unique_ptr<Platform> MakeTemplatePlatform() { return std::make_unique<TemplatePlatform>(); }

}  // namespace media
