// The SDL backend: a window, the keyboard and gamepads, the clock and an audio
// device through SDL2. The only part of the program that links SDL.
#pragma once

#include <memory>

#include "media/platform/Platform.h"

namespace media {

std::unique_ptr<Platform> MakeSdlPlatform();

// Selects the SDL platform, with the shell in player mode (the player's keys and
// panels), and catches the signals that ask the program to end (EndSignals.h);
// call before InitMediaLayer.
void UseSdlPlatform();

}  // namespace media
