// The button table: keys[i] is the scan code of button i; the states of the
// buttons come from the keyboard arrays the table is handed.
#pragma once

#include <cstdint>
#include <vector>

#include "app/input/KeyboardState.h"

struct KeyConfig {
    std::vector<int32_t> keys;
    int32_t count = 0;  // codes appended since the list was last cleared
    // The arrays the buttons are read from (the system context's, handed down by
    // whoever makes the table); no array, every button up.
    const KeyboardState* keyboard = nullptr;
};

// Button states.
enum ButtonState : int { kButtonUp = 0, kButtonReleased = 1, kButtonPressed = 2, kButtonHeld = 3 };

// State of a button from the table's key arrays; 0 for a button beyond the
// table, a code outside 0..255 or a table without arrays.
int GetButtonState(const KeyConfig& config, unsigned button);
