// The button table: keys[i] is the scan code of button i.
#pragma once

#include <cstdint>
#include <string>
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
// The same for the key file at `path`; on -1, what is wrong with the file goes
// to *problem (when not null), in words: "is empty", "gives a negative count (-1)", ...
int LoadKeyConfigFrom(KeyConfig& config, const std::string& path, std::string* problem);
