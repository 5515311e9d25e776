// Gamepads in the browser, through its Gamepad API: pads with the browser's
// standard mapping press the game's keys as media/platform/PadButtons.h says.
// Pads may be plugged in and out while the game runs.
#pragma once

#include <cstdint>
#include <vector>

namespace media {

class WebPads {
public:
    // Sets keys[code] = 1 for the key code (codes[button]) of every game button
    // held now on any pad (the pads are read at this call).
    void PressKeys(uint8_t keys[256], const std::vector<int32_t>& codes);

private:
    unsigned Sample();

    int m_connected = -1;  // pads connected at the last call
};

}  // namespace media
