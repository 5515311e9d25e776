// The key configuration the game starts with: the player's key file, or the
// six default keys when that file cannot be used, so that the game stays playable.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/KeyConfigFile.h"

namespace app {

// Buttons 0..5 (up, down, right, left, decide, cancel): the arrow keys, Z and X.
inline constexpr int32_t kDefaultKeyCodes[6] = {200, 208, 205, 203, 44, 45};

// Loads the key file at `path`; when it cannot be used, says which file and
// why (one line in the log, one on stderr) and gives `config` the default keys.
// Gamepads then press the keys in force.
void LoadStartKeys(KeyConfig& config, const std::string& path);

// Gives `config` these codes, as a key file holding them would (gamepads too).
void UseStartKeys(KeyConfig& config, const std::vector<int32_t>& codes);

// The buttons 0..5 that `codes` leave without a key the game can see pressed,
// each with why ("decide (F1 opens the help)", "cancel (the file holds 5
// codes)"), joined by ", "; "" when every button can be pressed.
std::string UnpressableButtons(const std::vector<int32_t>& codes);

// Tells the player once, in the log and on stderr, which buttons of the keys
// in force (read from `keyFile`) can never be pressed; nothing when all can.
void TellUnpressableButtons(const std::string& keyFile, const std::vector<int32_t>& codes);

}  // namespace app
