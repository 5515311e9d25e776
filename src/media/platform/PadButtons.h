// The game's buttons on a gamepad, the same on every platform: the d-pad and
// the left stick (past half-way) are the four directions, the south face button
// is decide and the east face button cancel. They press the keys of those
// buttons, so the game sees a pad as the keyboard.
#pragma once

#include <cstdint>
#include <vector>

namespace media {

// What of one pad the game's buttons are read from.
struct PadControls {
    bool up = false, down = false, right = false, left = false;  // the d-pad
    bool south = false, east = false;                            // face buttons by position
    double stickX = 0.0, stickY = 0.0;                           // the left stick, -1..1, y downwards
};

// Game buttons 0..5 (up, down, right, left, decide, cancel) held on the pad, as bits.
unsigned GameButtonsOf(const PadControls& pad);
// Sets keys[codes[b]] = 1 for every game button b in `buttons`.
void PressButtonKeys(unsigned buttons, uint8_t keys[256], const std::vector<int32_t>& codes);

}  // namespace media
