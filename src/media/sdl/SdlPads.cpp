#include "media/sdl/SdlPads.h"

#include <sys/stat.h>

#include "media/core/Log.h"
#include "media/platform/PadButtons.h"

namespace media {

namespace {

constexpr uint32_t Bit(SDL_GameControllerButton button) { return 1u << button; }

std::string GuidText(SDL_JoystickGUID guid) {
    char text[64];
    SDL_JoystickGetGUIDString(guid, text, sizeof text);
    return text;
}

}  // namespace

void SdlPads::Start(const std::string& mappingFile) {
    if (m_started) return;
    // South and east by position, whatever the pad's own labels say.
    SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        LogLine("Gamepads are not available (%s)", SDL_GetError());
        return;
    }
    m_started = true;
    struct stat info;
    if (mappingFile.empty() || stat(mappingFile.c_str(), &info) != 0) return;
    const int added = SDL_GameControllerAddMappingsFromFile(mappingFile.c_str());
    if (added < 0) LogLine("Gamepad mappings %s cannot be read (%s)", mappingFile.c_str(), SDL_GetError());
    else LogLine("Gamepad mappings: %d from %s", added, mappingFile.c_str());
}

void SdlPads::Stop() {
    if (!m_started) return;
    const uint32_t held = Held();
    for (Pad& pad : m_pads) SDL_GameControllerClose(pad.controller);
    m_pads.clear();
    ReportButtonChanges(m_sink, ButtonSource::Pad, held, 0);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    m_started = false;
}

bool SdlPads::Handle(const SDL_Event& event) {
    const uint32_t before = Held();
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED: Open(event.cdevice.which); break;
        case SDL_CONTROLLERDEVICEREMOVED: Close(event.cdevice.which); break;
        case SDL_JOYDEVICEADDED:
            if (!SDL_IsGameController(event.jdevice.which))
                LogLine("Joystick \"%s\" (%s) has no gamepad mapping and is not used",
                        SDL_JoystickNameForIndex(event.jdevice.which),
                        GuidText(SDL_JoystickGetDeviceGUID(event.jdevice.which)).c_str());
            return true;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            if (Pad* pad = Find(event.cbutton.which); pad && event.cbutton.button < 32) {
                const uint32_t bit = 1u << event.cbutton.button;
                pad->buttons = event.cbutton.state == SDL_PRESSED ? pad->buttons | bit : pad->buttons & ~bit;
            }
            break;
        case SDL_CONTROLLERAXISMOTION:
            if (Pad* pad = Find(event.caxis.which)) {
                if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) pad->stickX = event.caxis.value;
                if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) pad->stickY = event.caxis.value;
            }
            break;
        default: return event.type >= SDL_JOYAXISMOTION && event.type <= SDL_CONTROLLERSENSORUPDATE;
    }
    ReportButtonChanges(m_sink, ButtonSource::Pad, before, Held());
    return true;
}

// What any pad holds.
uint32_t SdlPads::Held() const {
    uint32_t held = 0;
    for (const Pad& pad : m_pads) held |= ButtonsOf(pad);
    return held;
}

void SdlPads::Open(int deviceIndex) {
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller) {
        LogLine("Gamepad %d cannot be opened (%s)", deviceIndex, SDL_GetError());
        return;
    }
    const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    if (Find(id)) {  // announced twice (present at start and plugged)
        SDL_GameControllerClose(controller);
        return;
    }
    Pad pad;
    pad.controller = controller;
    pad.id = id;
    for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b)
        if (SDL_GameControllerGetButton(controller, static_cast<SDL_GameControllerButton>(b))) pad.buttons |= 1u << b;
    pad.stickX = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX);
    pad.stickY = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY);
    m_pads.push_back(pad);
    const char* name = SDL_GameControllerName(controller);
    LogLine("Gamepad connected: %s", name ? name : "(no name)");
}

void SdlPads::Close(SDL_JoystickID id) {
    for (auto it = m_pads.begin(); it != m_pads.end(); ++it) {
        if (it->id != id) continue;
        const char* name = SDL_GameControllerName(it->controller);
        LogLine("Gamepad disconnected: %s", name ? name : "(no name)");
        SDL_GameControllerClose(it->controller);
        m_pads.erase(it);
        return;
    }
}

SdlPads::Pad* SdlPads::Find(SDL_JoystickID id) {
    for (Pad& pad : m_pads)
        if (pad.id == id) return &pad;
    return nullptr;
}

// The player buttons held on one pad, as bits. SDL's stick runs -32768..32767.
uint32_t SdlPads::ButtonsOf(const Pad& pad) {
    const auto held = [&pad](SDL_GameControllerButton b) { return (pad.buttons & Bit(b)) != 0; };
    PadControls controls;
    controls.up = held(SDL_CONTROLLER_BUTTON_DPAD_UP);
    controls.down = held(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    controls.right = held(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    controls.left = held(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    controls.south = held(SDL_CONTROLLER_BUTTON_A);
    controls.east = held(SDL_CONTROLLER_BUTTON_B);
    controls.back = held(SDL_CONTROLLER_BUTTON_BACK);
    controls.start = held(SDL_CONTROLLER_BUTTON_START);
    controls.rightShoulder = held(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
    controls.stickX = pad.stickX / 32768.0;
    controls.stickY = pad.stickY / 32768.0;
    return PlayerButtonsOf(controls);
}

}  // namespace media
