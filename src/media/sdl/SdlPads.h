// Gamepads on the SDL platform, through SDL's game-controller API: its built-in
// mapping database, SDL_GAMECONTROLLERCONFIG, and a mapping file of the
// player's. Pads may be plugged in and out while the game runs; their buttons
// press the game's keys as media/platform/PadButtons.h says.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

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
    void Stop();
    // Takes a controller or joystick event; false for any other event.
    bool Handle(const SDL_Event& event);
    // Sets keys[code] = 1 for the key code (codes[button]) of every button held
    // now on any pad or pressed since the last call. Buttons 0..5: up, down,
    // right, left, decide, cancel.
    void PressKeys(uint8_t keys[256], const std::vector<int32_t>& codes);

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
    static unsigned ButtonsOf(const Pad& pad);

    bool m_started = false;
    std::vector<Pad> m_pads;
    unsigned m_pressed = 0;  // game buttons that went down since the last PressKeys
};

}  // namespace media
