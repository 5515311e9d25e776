// A Shift-JIS string laid out in one font, decoded once and kept by the font
// by its bytes: the coverage masks that draw it and where they go. When no two
// glyphs share an ink pixel the whole line is one mask: drawing it once gives
// exactly the pixels that drawing the glyphs one by one gives. Otherwise there
// is one mask per glyph. A run owns its masks and never changes once laid out,
// so it may outlive its font (the screen reuse keeps the runs it noted).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace media {

class Font;

struct TextMask {
    int64_t left = 0;  // left edge relative to the pen's start
    int width = 0, height = 0, pitch = 0;
    std::vector<uint8_t> bytes;  // pitch x height; nonzero = ink, 0 past the width
};

struct TextRun {
    std::vector<TextMask> masks;  // left to right; none for a text without ink
    std::string text;             // the bytes laid out
    uint64_t font = 0;            // the font they were laid out in (Font::Id)

    // Lays out `text` (no NUL inside) in `font`, rendering glyphs it lacks.
    static std::shared_ptr<const TextRun> Lay(Font& font, std::string_view text);
};

}  // namespace media
