// The player's buttons on a gamepad, the same on every platform: the d-pad and
// the left stick (past half-way) are the four directions, the south face button
// is decide and the east face button cancel, Back the help panel, Start the
// settings panel and the right shoulder button fast-forward. A backend reads
// its pads into PadControls and reports the buttons that change.
#pragma once

#include <cstdint>

#include "media/platform/InputSink.h"

namespace media {

// What of one pad the player's buttons are read from.
struct PadControls {
    bool up = false, down = false, right = false, left = false;  // the d-pad
    bool south = false, east = false;                            // face buttons by position
    bool back = false, start = false, rightShoulder = false;
    double stickX = 0.0, stickY = 0.0;  // the left stick, -1..1, y downwards
};

// The player buttons held on the pad, as bits (1 << PlayerButton).
uint32_t PlayerButtonsOf(const PadControls& pad);
// Reports to `sink` (when there is one) every button whose bit differs between `before` and `after`.
void ReportButtonChanges(InputSink* sink, ButtonSource source, uint32_t before, uint32_t after);

}  // namespace media
