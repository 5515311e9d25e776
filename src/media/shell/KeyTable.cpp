#include "media/shell/KeyTable.h"

namespace media {

const std::vector<KeyRole>& KeyTable() {
    static const std::vector<KeyRole> table = {
        {kDikF1, false, KeyAction::Help, "F1"},
        {kDikF2, false, KeyAction::Settings, "F2"},
        {kDikTab, false, KeyAction::FastForward, "Tab"},
        {kDikF11, false, KeyAction::Fullscreen, "F11"},
        {kDikEnter, true, KeyAction::Fullscreen, "Alt+Enter"},
        {kDikF12, false, KeyAction::Screenshot, "F12"},
        {kDikEscape, false, KeyAction::Escape, "Esc"},
    };
    return table;
}

KeyAction KeyActionOf(uint8_t dik, bool altHeld) {
    for (const KeyRole& role : KeyTable())
        if (role.dik == dik && (!role.withAlt || altHeld)) return role.action;
    return KeyAction::None;
}

bool ReservedKey(int32_t code) {
    if (code <= 0 || code > 255) return false;
    for (const KeyRole& role : KeyTable())
        if (role.dik == code && !role.withAlt) return true;
    return false;
}

}  // namespace media
