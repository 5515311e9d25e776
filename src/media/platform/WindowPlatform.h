// The platform of a player's window, whichever one the program is linked with:
// the SDL backend on the desktop, the web page's in a browser. The game's
// program calls it; nothing else above the media layer knows which it is.
#pragma once

namespace media {

// Selects the window platform the program is linked with; call before InitMediaLayer.
void UseWindowPlatform();

}  // namespace media
