// Internal hooks of the font part of the media layer, called by the rest of it.
#pragma once

namespace media {

// Makes the default font ready (InitMediaLayer).
void StartFonts();
// Frees every font (EndMediaLayer).
void EndFonts();

}  // namespace media
