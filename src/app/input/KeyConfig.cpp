#include "app/input/KeyConfig.h"

int GetButtonState(const KeyConfig& config, unsigned button) {
    if (button >= config.keys.size() || config.keyboard == nullptr) return kButtonUp;
    const int32_t code = config.keys[button];
    if (code < 0 || code > 255) return kButtonUp;
    const bool now = config.keyboard->current[code] == 1;
    const bool before = config.keyboard->previous[code] == 1;
    if (now) return before ? kButtonHeld : kButtonPressed;
    return before ? kButtonReleased : kButtonUp;
}
