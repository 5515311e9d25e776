// The keys the window keeps for itself, whatever the key file says (the shell's
// key table, media/shell/KeyTable.h): Escape ends the game, F1 opens the help,
// F2 the settings, F11 switches fullscreen, F12 takes a screenshot and Tab
// fast-forwards. A button given one of them is never pressed in the game.
#pragma once

namespace app {

// What the key with this scan code does instead of pressing a button, as a
// player reads it ("opens the help"); null for a key the buttons may have.
const char* WindowKeyUse(int code);

}  // namespace app
