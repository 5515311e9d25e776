#include "media/web/WebPads.h"

#include <cstring>

#include "media/core/Log.h"
#include "media/platform/PadButtons.h"

namespace media {
namespace {

// The standard mapping's buttons: south and east faces, then the d-pad.
constexpr int kSouth = 0, kEast = 1, kRightShoulder = 5, kBack = 8, kStart = 9, kUp = 12, kDown = 13, kLeft = 14,
              kRight = 15;

// Calls `use` with each connected pad of the standard mapping (the others have
// buttons in an order of their own).
template <class Use>
void ForEachStandardPad(Use use) {
    if (emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS) return;
    const int count = emscripten_get_num_gamepads();
    for (int i = 0; i < count; ++i) {
        EmscriptenGamepadEvent pad;
        if (emscripten_get_gamepad_status(i, &pad) != EMSCRIPTEN_RESULT_SUCCESS || !pad.connected) continue;
        if (std::strcmp(pad.mapping, "standard") == 0) use(pad);
    }
}

PadControls ControlsOf(const EmscriptenGamepadEvent& pad) {
    const auto held = [&pad](int b) { return b < pad.numButtons && pad.digitalButton[b] != 0; };
    PadControls controls;
    controls.up = held(kUp);
    controls.down = held(kDown);
    controls.right = held(kRight);
    controls.left = held(kLeft);
    controls.south = held(kSouth);
    controls.east = held(kEast);
    controls.back = held(kBack);
    controls.start = held(kStart);
    controls.rightShoulder = held(kRightShoulder);
    if (pad.numAxes >= 2) {
        controls.stickX = pad.axis[0];
        controls.stickY = pad.axis[1];
    }
    return controls;
}

}  // namespace

void WebPads::Start() {
    if (m_started) return;
    m_started = true;
    m_announced = 0;
    emscripten_set_gamepadconnected_callback(this, true, &OnPlugged);
    emscripten_set_gamepaddisconnected_callback(this, true, &OnPlugged);
}

void WebPads::Stop() {
    if (!m_started) return;
    emscripten_set_gamepadconnected_callback(nullptr, true, nullptr);
    emscripten_set_gamepaddisconnected_callback(nullptr, true, nullptr);
    m_started = false;
}

EM_BOOL WebPads::OnPlugged(int type, const EmscriptenGamepadEvent* pad, void* user) {
    auto* self = static_cast<WebPads*>(user);
    const bool plugged = type == EMSCRIPTEN_EVENT_GAMEPADCONNECTED;
    self->m_announced += plugged ? 1 : -1;
    if (self->m_announced < 0) self->m_announced = 0;
    if (std::strcmp(pad->mapping, "standard") != 0 && plugged)
        LogPrintf("Gamepad \"%s\" has no standard mapping and is not used\n", pad->id);
    else LogPrintf("Gamepad %s: %s\n", plugged ? "connected" : "disconnected", pad->id);
    return EM_FALSE;
}

void WebPads::Report(InputSink* sink) {
    const uint32_t held = m_announced > 0 ? Sample() : 0;
    ReportButtonChanges(sink, ButtonSource::Pad, m_held, held);
    m_held = held;
}

// The player buttons held now on the pads.
uint32_t WebPads::Sample() {
    uint32_t held = 0;
    ForEachStandardPad([&held](const EmscriptenGamepadEvent& pad) { held |= PlayerButtonsOf(ControlsOf(pad)); });
    return held;
}

}  // namespace media
