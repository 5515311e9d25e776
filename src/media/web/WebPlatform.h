// The web page's platform: the game in a browser tab, built with emscripten.
// The game's own loop runs as it is; the platform's waits (the next animation
// frame, a sleep, a data file still on its way) hand the tab back to the
// browser until they end (Asyncify).
#pragma once

#include <memory>

#include "media/platform/Platform.h"

namespace media {

std::unique_ptr<Platform> MakeWebPlatform();

}  // namespace media
