#include "app/WindowKeys.h"

#include "media/shell/KeyTable.h"

namespace app {

const char* WindowKeyUse(int code) {
    if (!media::ReservedKey(code)) return nullptr;
    switch (media::KeyActionOf(static_cast<uint8_t>(code), false)) {
        case media::KeyAction::Help: return "opens the help";
        case media::KeyAction::Settings: return "opens the settings";
        case media::KeyAction::Fullscreen: return "switches fullscreen";
        case media::KeyAction::Screenshot: return "takes a screenshot";
        case media::KeyAction::FastForward: return "fast-forwards the game";
        case media::KeyAction::Escape: return "ends the game";
        case media::KeyAction::None: break;
    }
    return "is the window's own";
}

}  // namespace app
