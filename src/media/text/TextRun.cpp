#include "media/text/TextRun.h"

#include <algorithm>
#include <string>

#include "media/text/Font.h"
#include "media/text/GlyphCache.h"
#include "media/text/ShiftJis.h"

namespace media {

namespace {

// Widest line kept as one mask, in pixels.
constexpr int64_t kMaxMaskWidth = 2048;

TextMask MaskOf(const Glyph& glyph, int64_t left) {
    return TextMask{left, glyph.width, glyph.height, glyph.pitch, glyph.mask};
}

// Ors the glyph masks into one; false (nothing changed) when two of them share
// an ink pixel, or the line is very wide.
bool Compose(std::vector<TextMask>& masks) {
    if (masks.size() < 2) return false;
    int64_t left = masks.front().left, right = left;
    for (const TextMask& m : masks) {
        left = std::min(left, m.left);
        right = std::max(right, m.left + m.width);
    }
    const int height = masks.front().height;
    if (right - left > kMaxMaskWidth) return false;
    TextMask line{left, static_cast<int>(right - left), height, 0, {}};
    line.pitch = Glyph::PitchOf(line.width);
    line.bytes.assign(static_cast<size_t>(line.pitch) * static_cast<size_t>(height), 0);
    for (const TextMask& m : masks) {
        if (m.height != height) return false;
        const size_t offset = static_cast<size_t>(m.left - left);
        for (int row = 0; row < height; ++row) {
            const uint8_t* src = m.bytes.data() + static_cast<size_t>(row) * static_cast<size_t>(m.pitch);
            uint8_t* dst = line.bytes.data() + static_cast<size_t>(row) * static_cast<size_t>(line.pitch) + offset;
            for (int i = 0; i < m.width; ++i) {
                if (!src[i]) continue;
                if (dst[i]) return false;  // drawn twice, a blend would show it
                dst[i] = 1;
            }
        }
    }
    masks.assign(1, std::move(line));
    return true;
}

}  // namespace

std::shared_ptr<const TextRun> TextRun::Lay(Font& font, std::string_view text) {
    const std::string bytes(text);  // NUL-terminated for the character walk
    auto run = std::make_shared<TextRun>();
    run->text = bytes;
    run->font = font.Id();
    int64_t pen = 0;
    for (const char* p = bytes.c_str();;) {
        const SjisChar c = NextSjisChar(p);
        if (c.length == 0) break;
        const Glyph& glyph = c.truncated ? font.ReplacementGlyph(2) : font.GlyphOf(c.code);
        if (glyph.width > 0) run->masks.push_back(MaskOf(glyph, pen + glyph.left));
        pen += glyph.advance;
        p += c.length;
    }
    Compose(run->masks);
    return run;
}

}  // namespace media
