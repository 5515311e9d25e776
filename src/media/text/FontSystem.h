// Internal hooks of the font part of the media layer, called by the rest of it.
#pragma once

namespace media {

// Starts the slow part of making fonts (the font configuration) on a thread of
// its own, early in InitMediaLayer, so that it overlaps opening the window.
void PrepareFonts();
// Makes the default font ready (InitMediaLayer).
void StartFonts();
// Frees every font (EndMediaLayer).
void EndFonts();

}  // namespace media
