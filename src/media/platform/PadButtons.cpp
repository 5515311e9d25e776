#include "media/platform/PadButtons.h"

namespace media {

namespace {

constexpr uint32_t Bit(PlayerButton button) { return 1u << static_cast<int>(button); }

}  // namespace

uint32_t PlayerButtonsOf(const PadControls& pad) {
    constexpr double kHalfWay = 0.5;
    uint32_t buttons = 0;
    if (pad.up || pad.stickY <= -kHalfWay) buttons |= Bit(PlayerButton::Up);
    if (pad.down || pad.stickY >= kHalfWay) buttons |= Bit(PlayerButton::Down);
    if (pad.right || pad.stickX >= kHalfWay) buttons |= Bit(PlayerButton::Right);
    if (pad.left || pad.stickX <= -kHalfWay) buttons |= Bit(PlayerButton::Left);
    if (pad.south) buttons |= Bit(PlayerButton::Decide);
    if (pad.east) buttons |= Bit(PlayerButton::Cancel);
    if (pad.back) buttons |= Bit(PlayerButton::Help);
    if (pad.start) buttons |= Bit(PlayerButton::Settings);
    if (pad.rightShoulder) buttons |= Bit(PlayerButton::FastForward);
    return buttons;
}

void ReportButtonChanges(InputSink* sink, ButtonSource source, uint32_t before, uint32_t after) {
    if (!sink) return;
    for (int b = 0; b < kPlayerButtonCount; ++b) {
        const uint32_t bit = 1u << b;
        if ((before ^ after) & bit) sink->ButtonChanged(source, static_cast<PlayerButton>(b), (after & bit) != 0);
    }
}

}  // namespace media
