// One colour blended over a block of the 16-bit screen (the fade overlay covers
// the whole screen every frame of a fade). Uses 512-bit vectors where the
// processor has AVX-512 (BW), 256-bit ones where it has AVX2, 128-bit ones
// otherwise; all give the same pixels.
#pragma once

#include <cstddef>
#include <cstdint>

#include "media/video/Rgb565Rows.h"

namespace media::rgb565 {

enum class Isa { Baseline, Avx2, Avx512 };

// Whether the processor runs the AVX2 variant.
bool HasAvx2();
// Whether the processor runs the AVX-512 variant.
bool HasAvx512();

// Blends `s` (already modulated) over `rows` rows of n pixels, the first pixel
// at `first`, rows `stride` pixels apart.
void BlendFill(uint16_t* first, size_t stride, int rows, int n, uint16_t s, const Factors& f);

// The same with a chosen variant (each only where the processor has it): for tests.
void BlendFillWith(Isa isa, uint16_t* first, size_t stride, int rows, int n, uint16_t s, const Factors& f);

}  // namespace media::rgb565
