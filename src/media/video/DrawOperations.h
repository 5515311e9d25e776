// The drawing operations on the way to the renderer (Renderer.h).
#pragma once

#include <cstdint>

#include "media/Media.h"

namespace media {

// Draws a one-bit coverage mask (nonzero byte = ink) in `colour` (a MakeColor
// value) with its top-left at (x, y) on the current draw target, obeying the
// drawing state: brightness, blend mode and parameter, clipping. Rows are
// `pitch` bytes apart; the bytes of a row past `width` must be 0, as they may be
// read with the row.
void DrawCoverageMask(int x, int y, const uint8_t* mask, int width, int height, int pitch, uint32_t colour);

}  // namespace media

namespace media::op {

// The work of the public operations of these names (their contracts are in
// Media.h), called by their definitions in Media.cpp, which record them.
int DrawImage(int x, int y, int handle, int transparent);
int DrawImageMirrored(int x, int y, int handle, int transparent);
int DrawRect(int x1, int y1, int x2, int y2, uint32_t colour, int fill);
int SetBlendMode(int mode, int param);
int SetDrawBrightness(int r, int g, int b);
int DrawImageBlended(int x, int y, int handle, bool mirrored, const DrawShade& shade);

}  // namespace media::op
