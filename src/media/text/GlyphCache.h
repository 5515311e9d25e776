// A font's rendered glyphs, keyed by Shift-JIS character code. Each glyph is a
// one-byte-per-pixel coverage mask one cell high, rendered once.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace media {

struct Glyph {
    static constexpr int kPitchUnit = 8;
    static int PitchOf(int width) { return (width + kPitchUnit - 1) / kPitchUnit * kPitchUnit; }

    int left = 0;               // x of the mask's first column relative to the pen
    int width = 0;              // mask width in pixels (0: nothing to draw)
    int height = 0;             // mask height: the font's cell height
    int advance = 0;            // pen movement after the glyph
    int pitch = 0;              // bytes per mask row: width rounded up to a whole multiple of 8
    std::vector<uint8_t> mask;  // pitch x height, row by row; nonzero = ink, 0 past the width
};

class GlyphCache {
public:
    // The cached glyph of a code, or null.
    const Glyph* Find(uint16_t code) const {
        auto it = m_glyphs.find(code);
        return it == m_glyphs.end() ? nullptr : &it->second;
    }
    const Glyph& Store(uint16_t code, Glyph glyph) { return m_glyphs[code] = std::move(glyph); }
    size_t Size() const { return m_glyphs.size(); }

private:
    std::unordered_map<uint16_t, Glyph> m_glyphs;
};

}  // namespace media
