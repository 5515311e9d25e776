#include "media/platform/PadButtons.h"

#include <cstddef>

namespace media {

unsigned GameButtonsOf(const PadControls& pad) {
    constexpr double kHalfWay = 0.5;
    unsigned buttons = 0;
    if (pad.up || pad.stickY <= -kHalfWay) buttons |= 1u << 0;
    if (pad.down || pad.stickY >= kHalfWay) buttons |= 1u << 1;
    if (pad.right || pad.stickX >= kHalfWay) buttons |= 1u << 2;
    if (pad.left || pad.stickX <= -kHalfWay) buttons |= 1u << 3;
    if (pad.south) buttons |= 1u << 4;
    if (pad.east) buttons |= 1u << 5;
    return buttons;
}

void PressButtonKeys(unsigned buttons, uint8_t keys[256], const std::vector<int32_t>& codes) {
    for (std::size_t b = 0; buttons && b < codes.size() && b < 6; ++b)
        if (((buttons >> b) & 1u) && codes[b] > 0 && codes[b] < 256) keys[codes[b]] = 1;
}

}  // namespace media
