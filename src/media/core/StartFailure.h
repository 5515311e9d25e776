// How the media layer's start went, for the program's exit status.
#pragma once

namespace media {

// True once InitMediaLayer has failed (no display, a second copy, a 24-bit
// desktop); stays true until a later InitMediaLayer succeeds.
bool MediaStartFailed();

}  // namespace media
