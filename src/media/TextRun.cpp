#include "media/TextRun.h"

#include <algorithm>
#include <string>

#include "media/Font.h"
#include "media/ShiftJis.h"

namespace media {

namespace {

// Widest line kept as one mask, in pixels.
constexpr int64_t kMaxMaskWidth = 2048;

// Ors the glyphs into one mask; false when two of them share an ink pixel.
bool Compose(TextRun& run) {
    if (run.glyphs.empty()) return false;
    int64_t left = run.glyphs.front().x, right = left;
    for (const PlacedGlyph& g : run.glyphs) {
        left = std::min(left, g.x);
        right = std::max(right, g.x + g.glyph->width);
    }
    if (right - left > kMaxMaskWidth) return false;
    const int height = run.glyphs.front().glyph->height;
    const int width = static_cast<int>(right - left);
    const int pitch = Glyph::PitchOf(width);
    std::vector<uint8_t> mask(static_cast<size_t>(pitch) * static_cast<size_t>(height), 0);
    for (const PlacedGlyph& g : run.glyphs) {
        if (g.glyph->height != height) return false;
        const size_t offset = static_cast<size_t>(g.x - left);
        for (int row = 0; row < height; ++row) {
            const uint8_t* src = g.glyph->mask.data() + static_cast<size_t>(row) * static_cast<size_t>(g.glyph->pitch);
            uint8_t* dst = mask.data() + static_cast<size_t>(row) * static_cast<size_t>(pitch) + offset;
            for (int i = 0; i < g.glyph->width; ++i) {
                if (!src[i]) continue;
                if (dst[i]) return false;   // drawn twice, a blend would show it
                dst[i] = 1;
            }
        }
    }
    run.maskLeft = left;
    run.maskWidth = width;
    run.maskHeight = height;
    run.maskPitch = pitch;
    run.mask = std::move(mask);
    return true;
}

}  // namespace

TextRun TextRun::Lay(Font& font, std::string_view text) {
    const std::string bytes(text);   // NUL-terminated for the character walk
    TextRun run;
    int64_t pen = 0;
    for (const char* p = bytes.c_str();;) {
        const SjisChar c = NextSjisChar(p);
        if (c.length == 0) break;
        const Glyph& glyph = c.truncated ? font.ReplacementGlyph(2) : font.GlyphOf(c.code);
        if (glyph.width > 0) run.glyphs.push_back(PlacedGlyph{&glyph, pen + glyph.left});
        pen += glyph.advance;
        p += c.length;
    }
    Compose(run);
    return run;
}

}  // namespace media
