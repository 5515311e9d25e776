// A panel the player opens above the game's picture (the help, the settings):
// while one is open the game waits and every key and button is the panel's.
// The shell (Shell.h) opens and closes panels and hands them the input; what a
// panel shows and does is its own. Lines are Shift-JIS.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "media/shell/KeyTable.h"

namespace media {

// One key or button given to an open panel.
struct PanelInput {
    uint8_t dik = 0;                     // the key's DIK number; 0 for a pad's or touch button
    int button = -1;                     // the game's button 0..5 it is (the player's keys), else -1
    KeyAction action = KeyAction::None;  // what the key table says of the key
    bool repeat = false;                 // the system's repeat of a held key
};

class Panel {
public:
    virtual ~Panel() = default;
    // The panel is about to show: it may read what it shows from the game now.
    virtual void Opened() {}
    // What the panel shows now.
    virtual std::vector<std::string> Lines() = 0;
    // True while the panel waits for a key to take as it is (Escape and the
    // hotkeys included): every key then goes to Input.
    virtual bool CapturingKey() const { return false; }
    // The player's input while open (Escape and the panel's own key close it
    // before this is asked, unless capturing); false closes the panel.
    virtual bool Input(const PanelInput& input) = 0;
};

}  // namespace media
