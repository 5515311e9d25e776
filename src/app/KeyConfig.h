// The button table: keys[i] is the scan code of button i.
#pragma once

#include <cstdint>
#include <vector>

struct KeyConfig {
    std::vector<int32_t> keys;
    int32_t count = 0;  // codes appended since the list was last cleared
};

// Button states.
enum ButtonState : int { kButtonUp = 0, kButtonReleased = 1, kButtonPressed = 2, kButtonHeld = 3 };

// State of a button from the system context's key arrays; 0 for a button beyond
// the table or a code outside 0..255.
int GetButtonState(const KeyConfig& config, unsigned button);

// Reads "Data/KeyData.dat". 0 when read and the configuration replaced; -1 otherwise
// (configuration unchanged).
int LoadKeyConfig(KeyConfig& config);
