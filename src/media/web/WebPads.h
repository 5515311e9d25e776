// Gamepads in the browser, through its Gamepad API: the player buttons that
// pads with the browser's standard mapping hold (media/platform/PadButtons.h)
// are reported as they change, as one pad holding what any pad holds.
// Pads may be plugged in and out while the game runs. The pads are read only
// while the browser has announced one (reading them costs a tenth of a frame).
#pragma once

#include <emscripten/html5.h>

#include <cstdint>
#include <vector>

#include "media/platform/InputSink.h"

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
    // Reads the pads and reports to `sink` the buttons that changed since the last read.
    void Report(InputSink* sink);

private:
    static EM_BOOL OnPlugged(int type, const EmscriptenGamepadEvent* pad, void* user);
    uint32_t Sample();

    bool m_started = false;
    uint32_t m_held = 0;  // the player buttons last reported held
    int m_announced = 0;  // pads the browser has announced and not taken back
};

}  // namespace media
