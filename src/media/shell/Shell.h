// The player's side of every platform, written once: a backend only reports
// keys and buttons as they come (platform/InputSink.h); the shell keeps what
// the game reads of them, acts on the hotkeys of the key table (KeyTable.h),
// opens the panels and gives them every key while the game waits, holds
// fast-forward and tells the player's preferences on. The media layer's
// operations ask it for the keyboard (GetKeyStateAll) and the window's events
// (ProcessMessage); everything else still goes to the platform.
//
// In plain mode (the replay tool and most tests) keys reach the game as they
// are: no hotkey, no panel. The window platforms run it in player mode.
#pragma once

#include <cstdint>
#include <vector>

#include "media/platform/InputSink.h"
#include "media/platform/OverlayText.h"
#include "media/platform/Platform.h"
#include "media/shell/HelpSourcePanel.h"
#include "media/shell/KeyTable.h"

namespace media {

enum class ShellMode { Plain, Player };

class Shell final : public InputSink {
public:
    Shell();
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;

    // Plain or player; forgets every key and closes any panel.
    void SetMode(ShellMode mode);
    ShellMode Mode() const { return m_mode; }
    // The key codes of the game's buttons 0..5 (the key file's): gamepads and
    // touch controls press them, panels read them as buttons.
    void SetGameButtonKeys(const std::vector<int32_t>& codes);
    const std::vector<int32_t>& GameButtonKeys() const { return m_buttonKeys; }
    void SetHelpSource(HelpSource* source);
    void SetSettingsPanel(Panel* panel);

    // ------------------------------------------------ what a backend reports
    bool KeyChanged(uint8_t dik, bool down, bool repeat) override;
    void AllKeysUp() override;
    void ButtonChanged(ButtonSource source, PlayerButton button, bool down) override;
    void WindowScaleChosen(int scale) override;

    // ------------------------------------------------ for the media layer's operations
    // keys[k] = 1 while the game's key k is down, and in the first read after it
    // went down (a tap shorter than a frame is seen once); a gamepad's or touch
    // button presses the key of its game button.
    void ReadKeys(uint8_t keys[256]);
    // Takes the window's events; inactive while a panel is open; quit when the
    // window closed, or Escape was pressed while a kept game is caught up.
    PumpResult Pump();
    // True while the player holds fast-forward (and no panel is open).
    bool FastForwardHeld() const;
    // Fast-forward is wired to the frame loop (until then its key does nothing).
    void OfferFastForward(bool offered) { m_fastForwardOffered = offered; }
    // True when the key table's `action` does something here now.
    bool KeyWorks(KeyAction action) const;

    // ------------------------------------------------ panels
    // Opens the panel of KeyAction::Help or Settings, or closes it when it is the open one.
    void TogglePanel(KeyAction which);
    // KeyAction::Help or Settings for the open panel, None when none is.
    KeyAction OpenPanel() const { return m_open; }
    // The panel's lines while one is open, else the notice due at `nowMillis`.
    const OverlayText& Overlay(uint32_t nowMillis);

private:
    bool PlayerKeyDown(uint8_t dik, bool repeat);
    bool PanelKeyDown(uint8_t dik, KeyAction action, bool repeat);
    void PanelButtonDown(PlayerButton button);
    bool GameButtonOfKey(uint8_t dik, int& button) const;
    Panel* PanelOf(KeyAction which);
    void GivePanel(const PanelInput& input);
    void ClosePanel();
    void ToggleFullscreen();
    void ShowOverlayNow();
    void PushOverlay(bool now);
    bool ButtonHeld(int button) const;

    ShellMode m_mode = ShellMode::Plain;
    std::vector<int32_t> m_buttonKeys;
    HelpSourcePanel m_help;
    Panel* m_settings = nullptr;
    KeyAction m_open = KeyAction::None;

    uint8_t m_down[256] = {};                     // keys held now
    uint8_t m_pressed[256] = {};                  // keys that went down since the last read
    uint8_t m_swallowed[256] = {};                // held keys the game does not see until released
    uint32_t m_buttons[kButtonSourceCount] = {};  // player buttons held, by source, as bits
    uint32_t m_buttonsPressed = 0;                // went down since the last read
    uint32_t m_buttonsSwallowed = 0;              // held buttons the game does not see until released
    bool m_fastForwardKey = false;
    bool m_fastForwardOffered = false;
    bool m_quitAsked = false;  // Escape while catching up

    OverlayText m_overlay;
    uint64_t m_shownSerial = 0;  // of the overlay the platform was last given
};

// The one shell: it takes the input of whichever platform runs.
Shell& TheShell();

// The key codes of the game's buttons, for gamepads, touch controls and panels (under the operation lock).
void SetGameButtonKeys(const std::vector<int32_t>& codes);

}  // namespace media
