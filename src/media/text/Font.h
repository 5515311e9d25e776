// A font made from a font file at a cell height: renders Shift-JIS characters
// as monochrome (not anti-aliased) glyphs and keeps them in its glyph cache.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "media/text/FontFinder.h"
#include "media/text/GlyphCache.h"
#include "media/text/TextRun.h"

namespace media {

class Font {
public:
    // Opens the file's face at the cell height `size`; null when FreeType cannot use it.
    static std::unique_ptr<Font> Open(const FontFile& file, int size);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // The glyph of a character (rendered on first use). Codes that are not
    // characters of code page 932, or that the face lacks, get a replacement
    // glyph: a hollow box.
    const Glyph& GlyphOf(uint16_t code);
    // The replacement glyph for a broken sequence of `bytes` bytes (1 or 2).
    const Glyph& ReplacementGlyph(int bytes);
    // The layout of a string (laid out on first use, then kept by its bytes).
    const std::shared_ptr<const TextRun>& RunOf(std::string_view text);

    // Names this font among all fonts made in the process (never 0).
    uint64_t Id() const { return m_id; }
    int CellHeight() const { return m_cellHeight; }
    int MaxAdvance() const { return m_maxAdvance; }
    const FontFile& File() const { return m_file; }
    size_t CachedGlyphs() const { return m_cache.Size(); }
    size_t CachedRuns() const { return m_runs.size(); }

private:
    Font() = default;
    Glyph Render(char32_t c, bool wide);
    Glyph MakeBox(bool wide) const;

    struct FreeTypeFace;
    std::unique_ptr<FreeTypeFace> m_face;
    FontFile m_file;
    int m_cellHeight = 0;
    int m_baseline = 0;  // rows from the cell top to the baseline
    int m_maxAdvance = 0;
    uint64_t m_id = 0;
    GlyphCache m_cache;
    Glyph m_boxes[2];

    // Looked up by a string_view without making a string.
    struct RunHash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
    };
    std::unordered_map<std::string, std::shared_ptr<const TextRun>, RunHash, std::equal_to<>> m_runs;
};

}  // namespace media
