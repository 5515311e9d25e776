// This frame's and the previous frame's keys, indexed by DIK scan code.
#pragma once

#include <cstdint>

struct KeyboardState {
    uint8_t current[256] = {};
    uint8_t previous[256] = {};
};
