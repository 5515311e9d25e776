// The colour of the last text drawn. It is kept in the system context; start-up
// hands its place down here, and text drawing stores each text's colour there.
#pragma once

#include <cstdint>

// Where text colours go from now on; null, nowhere.
void UseSharedTextColour(uint32_t* place);
// Stores the colour of the text about to be drawn.
void KeepTextColour(uint32_t colour);
