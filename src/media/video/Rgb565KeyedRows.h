// Opaque image rows on the 16-bit screen: an image drawn without blending or
// tint, colour-keyed. A row without keyed pixels is copied, a row with some
// takes the image's pixel wherever it is not keyed, a row keyed whole is left
// alone. This is most of what redraws a moving figure. Uses masked 512-bit
// stores where the processor has AVX-512 (BW), 256-bit vectors where it has
// AVX2, 128-bit ones otherwise; all give the same pixels.
#pragma once

#include <cstddef>
#include <cstdint>

#include "media/video/Rgb565BlendFill.h"

namespace media::rgb565 {

// How much of a row is keyed (the values of an image's row summary).
enum class KeyedRow : uint8_t { None, Some, All };

// `rows` rows of n pixels: image pixels `src` with their `keep` masks (0xFFFF
// where keyed), rows `srcStride` apart, onto `dst`, rows `dstStride` apart;
// kinds[r] tells how much of row r is keyed.
void KeyedRows(uint16_t* dst, size_t dstStride, const uint16_t* src, const uint16_t* keep, size_t srcStride,
               const KeyedRow* kinds, int rows, int n);

// The same with a chosen variant (each only where the processor has it): for tests.
void KeyedRowsWith(Isa isa, uint16_t* dst, size_t dstStride, const uint16_t* src, const uint16_t* keep,
                   size_t srcStride, const KeyedRow* kinds, int rows, int n);

}  // namespace media::rgb565
