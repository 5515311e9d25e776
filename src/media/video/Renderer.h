// The software renderer: images, rectangles and coverage masks drawn on a
// surface under the drawing state. What comes before a draw reaches it (the
// public operations, the reuse of the shown picture) is in DrawOperations.h.
#pragma once

#include <cstdint>

namespace media {

struct Image;
struct Surface;
struct TextRun;

// Every function here draws in the drawing state (brightness, blend mode and
// parameter) and clips to the target's edges and to the live DrawingLimit.

// Draws the whole image, or its mirror, with its top-left at (x, y) on
// `target`; transparent skips colour-keyed pixels.
void DrawImageOn(Surface& target, Image& im, int x, int y, bool transparent, bool mirrored);

// fill nonzero: fills [x1, x2) x [y1, y2) of `target` with `colour` (a MakeColor
// value); fill 0: the one-pixel outline. Corners in any order.
void DrawRectOn(Surface& target, int x1, int y1, int x2, int y2, uint32_t colour, int fill);

// Draws a one-bit coverage mask (nonzero byte = ink) in `colour` with its
// top-left at (x, y) on `target`. Rows are `pitch` bytes apart; the bytes of a
// row past `width` must be 0, as they may be read with the row.
void DrawMaskOn(Surface& target, int x, int y, const uint8_t* mask, int width, int height, int pitch,
                uint32_t colour);

// Draws a laid-out text with its pen starting at (x, y) on `target` in
// `colour`, each of its masks as DrawMaskOn would.
void DrawTextRunOn(Surface& target, int x, int y, const TextRun& run, uint32_t colour);

// While one lives, drawing changes pixels only inside [x0, x1) x [y0, y1); the
// limit before it comes back as it ends.
namespace detail {
struct DrawArea {
    int x0, y0, x1, y1;
};
// Where drawing may change pixels besides the target's edges: everywhere but
// while a DrawingLimit lives.
extern DrawArea drawArea;
}  // namespace detail

class DrawingLimit {
public:
    DrawingLimit(int x0, int y0, int x1, int y1) : m_saved(detail::drawArea) { detail::drawArea = {x0, y0, x1, y1}; }
    ~DrawingLimit() { detail::drawArea = m_saved; }
    DrawingLimit(const DrawingLimit&) = delete;
    DrawingLimit& operator=(const DrawingLimit&) = delete;

private:
    detail::DrawArea m_saved;
};

}  // namespace media
