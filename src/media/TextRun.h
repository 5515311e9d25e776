// A Shift-JIS string laid out in one font: the glyph of every character and
// where it goes, decoded once and kept by the font for as long as it lives.
// When no two glyphs share an ink pixel, the whole line is also kept as one
// coverage mask: drawing it once gives exactly the pixels that drawing the
// glyphs one by one gives.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "media/GlyphCache.h"

namespace media {

class Font;

struct PlacedGlyph {
    const Glyph* glyph;   // owned by the font
    int64_t x;            // left edge of the mask relative to the pen's start
};

struct TextRun {
    // The glyphs with ink, left to right.
    std::vector<PlacedGlyph> glyphs;
    // The line as one mask (empty when glyphs overlap or the line is very wide).
    int64_t maskLeft = 0;
    int maskWidth = 0, maskHeight = 0, maskPitch = 0;
    std::vector<uint8_t> mask;

    // Lays out `text` (no NUL inside) in `font`, rendering glyphs it lacks.
    static TextRun Lay(Font& font, std::string_view text);
};

}  // namespace media
