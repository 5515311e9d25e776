// The SDL platform without a display: SDL's dummy video driver, named as the
// platform requires, and SDL's virtual joysticks standing in for gamepads; the
// shell over it as the game has it. Gamepads press the keys in force; the
// player's window keys never reach the game; the picture is shown at a whole
// multiple, centred on black.
#include <SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "media/text/FontFinder.h"
#include "media/core/PlayerPrefs.h"
#include "media/shell/WindowOverlay.h"
#include "media/platform/Platform.h"
#include "media/sdl/SdlPlatform.h"
#include "media/shell/Shell.h"

// libdbus, which SDL's video subsystem opens, keeps its allocations until the
// process ends (SDL 2.26 never shuts it down): not a leak of ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

namespace {

using KeyList = std::vector<int>;

constexpr int kUp = 200, kDown = 208, kRight = 205, kLeft = 203, kDecide = 28, kCancel = 45;

// A gamepad plugged in through SDL's virtual joystick driver.
class VirtualPad {
public:
    VirtualPad() {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "Test pad";
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        joystick_ = index < 0 ? nullptr : SDL_JoystickOpen(index);
    }
    ~VirtualPad() { Unplug(); }
    bool Plugged() const { return joystick_ != nullptr; }
    void Button(SDL_GameControllerButton button, bool down) {
        SDL_JoystickSetVirtualButton(joystick_, button, down ? SDL_PRESSED : SDL_RELEASED);
    }
    void Axis(SDL_GameControllerAxis axis, int16_t value) { SDL_JoystickSetVirtualAxis(joystick_, axis, value); }
    void Unplug() {
        if (!joystick_) return;
        const SDL_JoystickID id = SDL_JoystickInstanceID(joystick_);
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    }

private:
    SDL_Joystick* joystick_ = nullptr;
};

class SdlPlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        // The dummy driver's window never holds the keyboard focus, which SDL
        // otherwise requires before it passes on gamepad events.
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
        media::SetGameButtonKeys({kUp, kDown, kRight, kLeft, kDecide, kCancel});
        media::SetPlayerDisplayListener({[this](int scale) { scales.push_back(scale); },
                                         [this](bool fullscreen) { fullscreens.push_back(fullscreen); }});
    }
    void TearDown() override {
        if (platform) platform->CloseWindow();
        platform = nullptr;
        media::UsePlatform(media::MakeTemplatePlatform());
        media::TheShell().SetMode(media::ShellMode::Plain);
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
        SDL_ResetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS);
        unsetenv("SDL_VIDEODRIVER");
        media::SetGameButtonKeys({});
        media::SetPlayerDisplayListener({});
    }

    // The SDL platform as the game chooses it, with the shell in player mode.
    void Open() {
        media::UsePlatform(media::MakeSdlPlatform());
        media::TheShell().SetMode(media::ShellMode::Player);
        platform = &media::CurrentPlatform();
        media::WindowRequest request;
        request.width = 160;
        request.height = 120;
        request.scale = 2.0;
        std::string error;
        ASSERT_TRUE(platform->OpenWindow(request, error)) << error;
    }

    media::PumpResult Pump() { return media::TheShell().Pump(); }

    // The keys the game would see after the next frame's events.
    std::array<uint8_t, 256> Keys() {
        Pump();
        std::array<uint8_t, 256> keys{};
        media::TheShell().ReadKeys(keys.data());
        return keys;
    }
    KeyList Down() {
        const std::array<uint8_t, 256> keys = Keys();
        KeyList down;
        for (int k = 0; k < 256; ++k)
            if (keys[static_cast<size_t>(k)]) down.push_back(k);
        return down;
    }

    static void PushKey(SDL_Scancode code, bool down, Uint16 mod = KMOD_NONE) {
        SDL_Event event;
        SDL_zero(event);
        event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.scancode = code;
        event.key.keysym.mod = mod;
        SDL_PushEvent(&event);
    }

    media::Platform* platform = nullptr;
    std::vector<int> scales;
    std::vector<bool> fullscreens;
};

TEST_F(SdlPlatformTest, GamepadsPressTheKeysInForceAndComeAndGoWhileRunning) {
    VirtualPad early;  // plugged in before the window opens
    ASSERT_TRUE(early.Plugged()) << SDL_GetError();
    Open();
    EXPECT_EQ(Down(), KeyList{});
    early.Button(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_EQ(Down(), KeyList{kDecide});
    early.Button(SDL_CONTROLLER_BUTTON_A, false);
    early.Button(SDL_CONTROLLER_BUTTON_B, true);
    early.Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    EXPECT_EQ(Down(), (KeyList{kCancel, kLeft}));
    early.Button(SDL_CONTROLLER_BUTTON_B, false);
    early.Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    EXPECT_EQ(Down(), KeyList{});

    // The left stick counts from half-way.
    early.Axis(SDL_CONTROLLER_AXIS_LEFTY, -16000);
    early.Axis(SDL_CONTROLLER_AXIS_LEFTX, 16000);
    EXPECT_EQ(Down(), KeyList{});
    early.Axis(SDL_CONTROLLER_AXIS_LEFTY, 17000);
    early.Axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
    EXPECT_EQ(Down(), (KeyList{kRight, kDown}));
    early.Axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
    early.Axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    EXPECT_EQ(Down(), KeyList{kUp});
    early.Axis(SDL_CONTROLLER_AXIS_LEFTY, 0);

    // A press and release between two frames is seen once.
    early.Button(SDL_CONTROLLER_BUTTON_A, true);
    Pump();
    early.Button(SDL_CONTROLLER_BUTTON_A, false);
    EXPECT_EQ(Down(), KeyList{kDecide});
    EXPECT_EQ(Down(), KeyList{});

    // Unplugged while a button is held: the key goes up. Plugged in while running: works.
    early.Button(SDL_CONTROLLER_BUTTON_B, true);
    EXPECT_EQ(Down(), KeyList{kCancel});
    early.Unplug();
    EXPECT_EQ(Down(), KeyList{});
    VirtualPad late;
    ASSERT_TRUE(late.Plugged()) << SDL_GetError();
    late.Button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    EXPECT_EQ(Down(), KeyList{kUp});

    // Buttons without a key (a short key file) press nothing.
    media::SetGameButtonKeys({kUp, kDown});
    late.Button(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_EQ(Down(), KeyList{kUp});
}

TEST_F(SdlPlatformTest, WindowKeysSwitchFullscreenAndNeverReachTheGame) {
    Open();
    PushKey(SDL_SCANCODE_F11, true);
    EXPECT_EQ(Down(), KeyList{});
    EXPECT_EQ(fullscreens, std::vector<bool>{true});
    PushKey(SDL_SCANCODE_F11, false);
    PushKey(SDL_SCANCODE_LALT, true, KMOD_LALT);
    PushKey(SDL_SCANCODE_RETURN, true, KMOD_LALT);
    PushKey(SDL_SCANCODE_F12, true, KMOD_LALT);
    EXPECT_EQ(Down(), KeyList{0x38});  // Alt itself is an ordinary key
    EXPECT_EQ(fullscreens, (std::vector<bool>{true, false}));
    PushKey(SDL_SCANCODE_RETURN, false);
    PushKey(SDL_SCANCODE_LALT, false);
    PushKey(SDL_SCANCODE_F12, false);
    EXPECT_EQ(Down(), KeyList{});
    PushKey(SDL_SCANCODE_RETURN, true);
    EXPECT_EQ(Down(), KeyList{0x1C});
}

TEST_F(SdlPlatformTest, F1AndThePadsBackButtonOpenAndCloseTheHelpPanelWhileTheGameWaits) {
    struct Help : media::HelpSource {
        std::vector<std::string> HelpLines() override { return {"Keys", "  Up: Up"}; }
    } help;
    media::SetHelpSource(&help);
    VirtualPad pad;
    ASSERT_TRUE(pad.Plugged()) << SDL_GetError();
    Open();
    PushKey(SDL_SCANCODE_F1, true);
    EXPECT_FALSE(Pump().active) << "the game waits while the panel is open";
    EXPECT_EQ(media::CurrentOverlay(0).lines.size(), 2u);
    PushKey(SDL_SCANCODE_F1, false);
    PushKey(SDL_SCANCODE_F1, true);
    EXPECT_EQ(Down(), KeyList{});
    EXPECT_TRUE(Pump().active);
    pad.Button(SDL_CONTROLLER_BUTTON_BACK, true);
    EXPECT_EQ(Down(), KeyList{});
    EXPECT_TRUE(media::HelpPanelOpen());
    media::SetHelpSource(nullptr);
    EXPECT_FALSE(media::HelpPanelOpen());
    media::ReleaseFontConfig();  // as the media layer's end does: the panel looked its font up
}

// The one window the platform has made.
SDL_Window* TheWindow() {
    SDL_Window* found = nullptr;
    for (Uint32 id = 1; id < 1000; ++id)
        if (SDL_Window* window = SDL_GetWindowFromID(id)) found = window;
    return found;
}

TEST_F(SdlPlatformTest, PictureIsShownAtTheLargestWholeMultipleCentredOnBlack) {
    Open();
    SDL_Window* window = TheWindow();
    ASSERT_NE(window, nullptr);
    int width = 0, height = 0;
    SDL_GetWindowSize(window, &width, &height);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 240);
    EXPECT_EQ(platform->ShownScale(), 2);

    SDL_SetWindowSize(window, 500, 400);  // 3 x 160 = 480 <= 500, 3 x 120 = 360 <= 400
    Pump();
    EXPECT_EQ(scales, std::vector<int>{3});
    EXPECT_EQ(platform->ShownScale(), 3);

    // A red and blue checkerboard with two white corners.
    const auto colour = [](int sx, int sy) -> uint32_t {
        if ((sx == 0 && sy == 0) || (sx == 159 && sy == 119)) return 0xFFFFFF;
        return (sx + sy) % 2 ? 0xFF0000 : 0x0000FF;
    };
    std::vector<uint16_t> screen(160 * 120);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x) {
            const uint32_t c = colour(x, y);
            screen[static_cast<size_t>(y * 160 + x)] = static_cast<uint16_t>(
                (c & 0xFF0000 ? 0xF800 : 0) | (c & 0xFF00 ? 0x07E0 : 0) | (c & 0xFF ? 0x001F : 0));
        }
    platform->Present(screen.data(), 160, 120, 320, media::PixelFormat::Rgb565);
    SDL_Renderer* renderer = SDL_GetRenderer(window);
    ASSERT_NE(renderer, nullptr);
    std::vector<uint32_t> shown(500 * 400);
    ASSERT_EQ(SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_RGB888, shown.data(), 500 * 4), 0)
        << SDL_GetError();
    const auto at = [&](int x, int y) { return shown[static_cast<size_t>(y * 500 + x)] & 0xFFFFFF; };
    // Margins of 10 and 20 pixels, black; every screen pixel a 3 x 3 block.
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 500; ++x) {
            const bool inside = x >= 10 && x < 490 && y >= 20 && y < 380;
            ASSERT_EQ(at(x, y), inside ? colour((x - 10) / 3, (y - 20) / 3) : 0u) << x << "," << y;
        }
    }
}

}  // namespace
