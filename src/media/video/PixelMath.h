// Every colour computation of the renderer, in one place.
//
// The screen keeps its pixels in the mode's own format: RGB565 at 16 bits,
// 0x00RRGGBB at 32 bits, a palette index at 8 bits. All arithmetic works on the
// format's own components (5/6/5 bits at 16 bits, 8 bits at 32 bits; at 8 bits on
// the palette entry's 8-bit components, the result mapped back to the nearest
// palette entry), is unsigned, and truncates:
//
//   brightness  c' = c * b / 255                      b = brightness component 0..255
//   alpha blend o  = (s * p + d * (255 - p)) / 255    p = blend parameter 0..255
//
// so p 255 writes the source exactly, p 0 leaves the destination exactly, and
// brightness 255 leaves a colour as it is. Brightness applies to the source
// (image pixel, rectangle or text colour) before blending. Blend mode 0 writes the
// modulated source. Colour-keyed image pixels are skipped when drawing with the
// transparent flag, before any of this.
#pragma once

#include <array>
#include <cstdint>

#include "media/platform/Platform.h"

namespace media {

#define ANAGURA_PIXEL_INLINE [[gnu::always_inline]] inline

ANAGURA_PIXEL_INLINE uint32_t ScaleComponent(uint32_t c, uint32_t b) { return c * b / 255u; }
ANAGURA_PIXEL_INLINE uint32_t MixComponent(uint32_t s, uint32_t d, uint32_t p) {
    return (s * p + d * (255u - p)) / 255u;
}

// ------------------------------------------------------------------ formats

// RGB565: r bits 11..15, g bits 5..10, b bits 0..4.
struct Rgb565 {
    using Pixel = uint16_t;
    static Pixel FromRgb(uint32_t rgb) {
        return static_cast<Pixel>((((rgb >> 16) & 0xFF) >> 3) << 11 | (((rgb >> 8) & 0xFF) >> 2) << 5 |
                                  ((rgb & 0xFF) >> 3));
    }
    static Pixel Make(uint32_t r, uint32_t g, uint32_t b) { return static_cast<Pixel>(r << 11 | g << 5 | b); }
    static uint32_t R(Pixel p) { return p >> 11; }
    static uint32_t G(Pixel p) { return (p >> 5) & 0x3F; }
    static uint32_t B(Pixel p) { return p & 0x1F; }
};

// 0x00RRGGBB.
struct Xrgb8888 {
    using Pixel = uint32_t;
    static Pixel FromRgb(uint32_t rgb) { return rgb & 0xFFFFFF; }
    static Pixel Make(uint32_t r, uint32_t g, uint32_t b) { return r << 16 | g << 8 | b; }
    static uint32_t R(Pixel p) { return (p >> 16) & 0xFF; }
    static uint32_t G(Pixel p) { return (p >> 8) & 0xFF; }
    static uint32_t B(Pixel p) { return p & 0xFF; }
};

// The 8-bit palette: a 6 x 6 x 6 colour cube (levels 0, 51, ..., 255; index
// 36 r + 6 g + b) followed by 40 greys from 6 to 240 in steps of 6 (index 216..255).
const std::array<uint32_t, 256>& Palette();
// Index of the palette entry nearest in squared RGB distance; the first on ties.
uint8_t NearestPaletteIndex(uint32_t rgb);

struct Indexed8 {
    using Pixel = uint8_t;
    static Pixel FromRgb(uint32_t rgb) { return NearestPaletteIndex(rgb); }
    static Pixel Make(uint32_t r, uint32_t g, uint32_t b) { return NearestPaletteIndex(r << 16 | g << 8 | b); }
    static uint32_t R(Pixel p) { return (Palette()[p] >> 16) & 0xFF; }
    static uint32_t G(Pixel p) { return (Palette()[p] >> 8) & 0xFF; }
    static uint32_t B(Pixel p) { return Palette()[p] & 0xFF; }
};

// ------------------------------------------------------------------ operations

// Brightness applied to one pixel.
template <class F>
ANAGURA_PIXEL_INLINE typename F::Pixel Modulate(typename F::Pixel s, uint32_t br, uint32_t bg, uint32_t bb) {
    return F::Make(ScaleComponent(F::R(s), br), ScaleComponent(F::G(s), bg), ScaleComponent(F::B(s), bb));
}

// Alpha blend of a source over a destination pixel.
template <class F>
ANAGURA_PIXEL_INLINE typename F::Pixel Blend(typename F::Pixel s, typename F::Pixel d, uint32_t p) {
    return F::Make(MixComponent(F::R(s), F::R(d), p), MixComponent(F::G(s), F::G(d), p),
                   MixComponent(F::B(s), F::B(d), p));
}

// Converts a pixel of format F to 0xRRGGBB (components widened by repeating their top bits).
template <class F>
uint32_t ToRgb(typename F::Pixel p);
template <>
inline uint32_t ToRgb<Rgb565>(uint16_t p) {
    const uint32_t r = Rgb565::R(p), g = Rgb565::G(p), b = Rgb565::B(p);
    return ((r << 3) | (r >> 2)) << 16 | ((g << 2) | (g >> 4)) << 8 | ((b << 3) | (b >> 2));
}
template <>
inline uint32_t ToRgb<Xrgb8888>(uint32_t p) {
    return p & 0xFFFFFF;
}
template <>
inline uint32_t ToRgb<Indexed8>(uint8_t p) {
    return Palette()[p];
}

}  // namespace media
