// Gamepads on the SDL platform, through SDL's game-controller API: its built-in
// mapping database, SDL_GAMECONTROLLERCONFIG, and a mapping file of the
// player's. Pads may be plugged in and out while the game runs; the player
// buttons they hold (media/platform/PadButtons.h) are reported as they change,
// as one pad holding what any pad holds.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "media/platform/InputSink.h"

namespace media {

class SdlPads {
public:
    SdlPads() = default;
    ~SdlPads() { Stop(); }
    SdlPads(const SdlPads&) = delete;
    SdlPads& operator=(const SdlPads&) = delete;

    // Starts SDL's game-controller subsystem and reads `mappingFile` when it
    // exists; pads already plugged in then arrive as events. Logs a failure and
    // goes on without pads.
    void Start(const std::string& mappingFile);
    // Closes the pads (their held buttons reported up) and SDL's controller part.
    void Stop();
    // Where the buttons are reported (null: nowhere).
    void Report(InputSink* sink) { m_sink = sink; }
    // Takes a controller or joystick event, reporting the buttons it changes;
    // false for any other event.
    bool Handle(const SDL_Event& event);

private:
    struct Pad {
        SDL_GameController* controller = nullptr;
        SDL_JoystickID id = -1;
        uint32_t buttons = 0;  // SDL_GameControllerButton bits held
        int16_t stickX = 0, stickY = 0;
    };

    void Open(int deviceIndex);
    void Close(SDL_JoystickID id);
    Pad* Find(SDL_JoystickID id);
    static uint32_t ButtonsOf(const Pad& pad);
    uint32_t Held() const;

    bool m_started = false;
    std::vector<Pad> m_pads;
    InputSink* m_sink = nullptr;
};

}  // namespace media
