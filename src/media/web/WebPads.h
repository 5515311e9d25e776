// Gamepads in the browser, through its Gamepad API: pads with the browser's
// standard mapping press the game's keys as media/platform/PadButtons.h says;
// Back opens and closes the help panel.
// Pads may be plugged in and out while the game runs. The pads are read only
// while the browser has announced one (reading them costs a tenth of a frame).
#pragma once

#include <emscripten/html5.h>

#include <cstdint>
#include <vector>

namespace media {

class WebPads {
public:
    WebPads() = default;
    ~WebPads() { Stop(); }
    WebPads(const WebPads&) = delete;
    WebPads& operator=(const WebPads&) = delete;

    // Listens for pads plugged in and out.
    void Start();
    void Stop();
    // Sets keys[code] = 1 for the key code (codes[button]) of every game button
    // held now on any pad (the pads are read at this call).
    void PressKeys(uint8_t keys[256], const std::vector<int32_t>& codes);
    // True once each time a pad's Back (select) button goes down: the help
    // panel's button, as on the desktop. Reads the pads.
    bool BackPressed();

private:
    static EM_BOOL OnPlugged(int type, const EmscriptenGamepadEvent* pad, void* user);
    unsigned Sample();

    bool m_started = false;
    bool m_backHeld = false;
    int m_announced = 0;  // pads the browser has announced and not taken back
};

}  // namespace media
