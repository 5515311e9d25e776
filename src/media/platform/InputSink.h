// What a backend reports of the player's input, as it happens: keys by their
// DIK number, the buttons of gamepads and of a page's touch controls, and the
// window's size when the player changed it. A backend only reports; what each
// key or button does is decided above it, once for every platform
// (media/shell/Shell.h).
#pragma once

#include <cstdint>

namespace media {

// The player's buttons on a gamepad or on touch controls. The first six are the
// game's own buttons, with the game's numbers.
enum class PlayerButton : int {
    Up = 0,
    Down = 1,
    Right = 2,
    Left = 3,
    Decide = 4,
    Cancel = 5,
    Help = 6,         // opens and closes the help panel
    Settings = 7,     // opens and closes the settings panel
    FastForward = 8,  // held: the game runs faster
};
inline constexpr int kPlayerButtonCount = 9;
inline constexpr int kGameButtonCount = 6;

// Where a player button was pressed: each source holds its buttons on its own,
// so a button stays down while any source holds it.
enum class ButtonSource : int { Pad = 0, Touch = 1 };
inline constexpr int kButtonSourceCount = 2;

class InputSink {
public:
    virtual ~InputSink() = default;

    // The key with DIK number `dik` (1..255) went down or up; `repeat` marks the
    // system's repeats of a held key. True when the key is the game's or one of
    // the player's hotkeys, so that the system does nothing more with it (a
    // browser's own shortcuts stay the browser's).
    virtual bool KeyChanged(uint8_t dik, bool down, bool repeat) = 0;
    // Every key is up, its release unseen (the window lost the keyboard).
    virtual void AllKeysUp() = 0;
    // A player button of `source` went down or up.
    virtual void ButtonChanged(ButtonSource source, PlayerButton button, bool down) = 0;
    // The player resized the window to show the picture at this whole multiple.
    virtual void WindowScaleChosen(int scale) = 0;
};

}  // namespace media
