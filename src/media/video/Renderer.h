// Internal drawing entry points shared by the parts of the media layer
// (the public drawing operations are in Media.h).
#pragma once

#include <cstdint>

#include "media/Media.h"

namespace media {

struct DrawCall;
struct ScreenRect;
struct Surface;
struct TextRun;

// Draws a one-bit coverage mask (nonzero byte = ink) in `colour` (a MakeColor
// value) with its top-left at (x, y) on the current draw target, obeying the
// drawing state: brightness, blend mode and parameter, clipping. Rows are
// `pitch` bytes apart; the bytes of a row past `width` must be 0, as they may be
// read with the row.
void DrawCoverageMask(int x, int y, const uint8_t* mask, int width, int height, int pitch, uint32_t colour);

// Draws a laid-out text with its pen starting at (x, y) on `target` in
// `colour`, each of its masks as DrawCoverageMask would.
void DrawTextRunOn(Surface& target, int x, int y, const TextRun& run, uint32_t colour);

// Draws a call noted by the screen reuse on `back`, in the drawing state it
// was noted with; only inside `within` when given.
void DrawNotedCall(Surface& back, const DrawCall& call, const ScreenRect* within);

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
