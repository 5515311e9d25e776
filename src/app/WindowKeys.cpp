#include "app/WindowKeys.h"

namespace app {

const char* WindowKeyUse(int code) {
    switch (code) {
        case 1: return "ends the game";            // Escape
        case 15: return "fast-forwards the game";  // Tab
        case 59: return "opens the help";          // F1
        case 60: return "opens the settings";      // F2
        case 87: return "switches fullscreen";     // F11
        case 88: return "takes a screenshot";      // F12
        default: return nullptr;
    }
}

}  // namespace app
