// Key positions as the game's DIK numbers. A platform names a key by its place
// on the board; the USB keyboard usage numbers (page 7) are that name here, the
// same numbers as SDL's scan codes and the ones a browser's key code names.
#pragma once

#include <cstdint>

namespace media {

// The DIK number (PC/AT set-1 scan code; +0x80 for E0-prefixed keys) of the key
// at USB usage `usage`, for every key of a 104/106-key board; 0 for any other.
uint8_t DikOfKeyPosition(int usage);

}  // namespace media
