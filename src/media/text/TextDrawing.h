// Drawing Shift-JIS text with the default font.
#pragma once

#include <cstdint>

namespace media::op {

// The work of the public operations of these names (their contracts are in
// Media.h), called by their definitions in Media.cpp, which record them.
int DrawTextAt(int x, int y, const char* text, uint32_t colour, uint32_t edgeColour);

}  // namespace media::op
