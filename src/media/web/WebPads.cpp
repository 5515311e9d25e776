#include "media/web/WebPads.h"

#include <emscripten/html5.h>

#include <cstring>

#include "media/core/Log.h"
#include "media/platform/PadButtons.h"

namespace media {
namespace {

// The standard mapping's buttons: south and east faces, then the d-pad.
constexpr int kSouth = 0, kEast = 1, kUp = 12, kDown = 13, kLeft = 14, kRight = 15;

PadControls ControlsOf(const EmscriptenGamepadEvent& pad) {
    const auto held = [&pad](int b) { return b < pad.numButtons && pad.digitalButton[b] != 0; };
    PadControls controls;
    controls.up = held(kUp);
    controls.down = held(kDown);
    controls.right = held(kRight);
    controls.left = held(kLeft);
    controls.south = held(kSouth);
    controls.east = held(kEast);
    if (pad.numAxes >= 2) {
        controls.stickX = pad.axis[0];
        controls.stickY = pad.axis[1];
    }
    return controls;
}

}  // namespace

void WebPads::PressKeys(uint8_t keys[256], const std::vector<int32_t>& codes) {
    PressButtonKeys(Sample(), keys, codes);
}

// The buttons held now. A pad without the standard mapping has buttons in an
// order of its own and is not used (the log says so once).
unsigned WebPads::Sample() {
    if (emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS) return 0;
    const int count = emscripten_get_num_gamepads();
    unsigned held = 0;
    int connected = 0;
    for (int i = 0; i < count; ++i) {
        EmscriptenGamepadEvent pad;
        if (emscripten_get_gamepad_status(i, &pad) != EMSCRIPTEN_RESULT_SUCCESS || !pad.connected) continue;
        ++connected;
        if (std::strcmp(pad.mapping, "standard") == 0) held |= GameButtonsOf(ControlsOf(pad));
        else if (connected > m_connected)
            LogPrintf("Gamepad \"%s\" has no standard mapping and is not used\n", pad.id);
    }
    if (connected != m_connected && m_connected >= 0) LogPrintf("Gamepads connected: %d\n", connected);
    m_connected = connected;
    return held;
}

}  // namespace media
