// The one table of what the player's keys do beside the game's buttons, on
// every platform: the hotkeys, which never reach the game, and Escape, which
// ends the game where the platform lets it. The shell acts on it and the help
// panel names it; the key tool refuses its keys as buttons.
#pragma once

#include <cstdint>
#include <vector>

#include "media/platform/Platform.h"

namespace media {

enum class KeyAction {
    None,         // a key of the game's
    Help,         // opens and closes the help panel
    Settings,     // opens and closes the settings panel
    Fullscreen,   // switches between the window and fullscreen
    Screenshot,   // saves the picture (where the platform saves screenshots)
    FastForward,  // held: the game runs faster
    Escape,       // closes a panel; with none open, ends the game where the platform lets it
};

// DIK numbers of the keys the table names.
inline constexpr uint8_t kDikEscape = 0x01;
inline constexpr uint8_t kDikTab = 0x0F;
inline constexpr uint8_t kDikEnter = 0x1C;
inline constexpr uint8_t kDikLeftAlt = 0x38;
inline constexpr uint8_t kDikF1 = 0x3B;
inline constexpr uint8_t kDikF2 = 0x3C;
inline constexpr uint8_t kDikF11 = 0x57;
inline constexpr uint8_t kDikF12 = 0x58;
inline constexpr uint8_t kDikNumpadEnter = 0x9C;
inline constexpr uint8_t kDikRightAlt = 0xB8;

// One row of the table: the key, with Alt held or not, and what it does.
struct KeyRole {
    uint8_t dik;
    bool withAlt;
    KeyAction action;
    const char* name;  // as the help panel names the key ("F1", "Alt+Enter", "Esc")
};

// The rows, in the order the help panel lists them.
const std::vector<KeyRole>& KeyTable();
// What the key `dik` does, pressed with or without Alt held.
KeyAction KeyActionOf(uint8_t dik, bool altHeld);
// True for the keys that can never be one of the game's buttons (the hotkeys
// and Escape): a key file giving one to a button locks the player out of it.
bool ReservedKey(int32_t code);

}  // namespace media
