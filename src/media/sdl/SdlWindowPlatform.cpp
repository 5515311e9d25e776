// On the desktop the player's window is SDL's.
#include "media/platform/WindowPlatform.h"
#include "media/sdl/SdlPlatform.h"

namespace media {

void UseWindowPlatform() { UseSdlPlatform(); }

}  // namespace media
