#include "media/text/Font.h"

#include <atomic>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <algorithm>

#include "media/text/ShiftJis.h"

namespace media {

namespace {

// One FreeType library for every font; lives until process exit.
FT_Library Library() {
    static FT_Library library = [] {
        FT_Library made = nullptr;
        if (FT_Init_FreeType(&made) != 0) made = nullptr;
        return made;
    }();
    return library;
}

}  // namespace

struct Font::FreeTypeFace {
    FT_Face face = nullptr;
    ~FreeTypeFace() {
        if (face) FT_Done_Face(face);
    }
};

std::unique_ptr<Font> Font::Open(const FontFile& file, int size) {
    FT_Library library = Library();
    if (!library || size < 1) return nullptr;
    std::unique_ptr<Font> font(new Font());
    static std::atomic<uint64_t> lastId{0};
    font->m_id = ++lastId;
    font->m_face = std::make_unique<FreeTypeFace>();
    if (FT_New_Face(library, file.path.c_str(), file.index, &font->m_face->face) != 0) {
        font->m_face->face = nullptr;
        return nullptr;
    }
    FT_Face face = font->m_face->face;
    FT_Select_Charmap(face, FT_ENCODING_UNICODE);
    // The cell (ascender + descender) is `size` pixels high.
    FT_Size_RequestRec request{};
    request.type = FT_IS_SCALABLE(face) ? FT_SIZE_REQUEST_TYPE_CELL : FT_SIZE_REQUEST_TYPE_NOMINAL;
    request.height = static_cast<FT_Long>(size) * 64;
    if (FT_Request_Size(face, &request) != 0) {
        if (face->num_fixed_sizes < 1 || FT_Select_Size(face, 0) != 0) return nullptr;
    }
    font->m_file = file;
    font->m_cellHeight = size;
    const long designCell = static_cast<long>(face->ascender) - face->descender;
    if (FT_IS_SCALABLE(face) && designCell > 0) {
        font->m_baseline = static_cast<int>((size * static_cast<long>(face->ascender) + designCell / 2) / designCell);
    } else {
        const long asc = face->size->metrics.ascender, desc = -face->size->metrics.descender;
        font->m_baseline = asc + desc > 0 ? static_cast<int>((size * asc + (asc + desc) / 2) / (asc + desc)) : size;
    }
    font->m_baseline = std::clamp(font->m_baseline, 0, size);
    font->m_maxAdvance = static_cast<int>((face->size->metrics.max_advance + 32) >> 6);
    if (font->m_maxAdvance <= 0) font->m_maxAdvance = size;
    font->m_boxes[0] = font->MakeBox(false);
    font->m_boxes[1] = font->MakeBox(true);
    return font;
}

Font::~Font() = default;

const Glyph& Font::GlyphOf(uint16_t code) {
    if (const Glyph* cached = m_cache.Find(code)) return *cached;
    const bool wide = code > 0xFF;
    if (code < 0x20 || code == 0x7F)
        return m_cache.Store(code, Glyph{0, 0, m_cellHeight, 0, 0, {}});  // control: nothing
    const char32_t c = SjisToUnicode(code);
    if (c == 0 && code != 0) return m_cache.Store(code, MakeBox(wide));
    return m_cache.Store(code, Render(c, wide));
}

const Glyph& Font::ReplacementGlyph(int bytes) { return m_boxes[bytes > 1 ? 1 : 0]; }

const std::shared_ptr<const TextRun>& Font::RunOf(std::string_view text) {
    // Texts that change all the time must not pile up: past the limit the kept
    // layouts are dropped and made again as they are drawn.
    constexpr size_t kMaxRuns = 1024;
    if (auto it = m_runs.find(text); it != m_runs.end()) return it->second;
    if (m_runs.size() >= kMaxRuns) m_runs.clear();
    return m_runs.emplace(std::string(text), TextRun::Lay(*this, text)).first->second;
}

Glyph Font::Render(char32_t c, bool wide) {
    FT_Face face = m_face->face;
    const FT_UInt index = FT_Get_Char_Index(face, c);
    if (index == 0) return MakeBox(wide);
    if (FT_Load_Glyph(face, index, FT_LOAD_TARGET_MONO) != 0) return MakeBox(wide);
    FT_GlyphSlot slot = face->glyph;
    if (m_file.embolden) FT_GlyphSlot_Embolden(slot);
    if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0)
        return MakeBox(wide);

    Glyph glyph;
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.left = slot->bitmap_left;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.height = m_cellHeight;
    glyph.pitch = Glyph::PitchOf(glyph.width);
    glyph.mask.assign(static_cast<size_t>(glyph.pitch) * static_cast<size_t>(glyph.height), 0);
    const int top = m_baseline - slot->bitmap_top;  // cell row of the bitmap's first row
    for (int row = 0; row < static_cast<int>(bitmap.rows); ++row) {
        const int cellRow = top + row;
        if (cellRow < 0 || cellRow >= m_cellHeight) continue;  // the cell clips the glyph
        const unsigned char* src = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
        uint8_t* dst = glyph.mask.data() + static_cast<size_t>(cellRow) * static_cast<size_t>(glyph.pitch);
        for (int x = 0; x < glyph.width; ++x) {
            bool ink = false;
            if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) ink = (src[x >> 3] >> (7 - (x & 7))) & 1;
            else if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) ink = src[x] >= 128;
            dst[x] = ink ? 1 : 0;
        }
    }
    if (glyph.width == 0) glyph.mask.clear();
    return glyph;
}

Glyph Font::MakeBox(bool wide) const {
    Glyph glyph;
    const int size = m_cellHeight;
    glyph.advance = wide ? size : std::max(1, size / 2);
    glyph.left = 0;
    glyph.width = glyph.advance;
    glyph.height = size;
    glyph.pitch = Glyph::PitchOf(glyph.width);
    glyph.mask.assign(static_cast<size_t>(glyph.pitch) * static_cast<size_t>(size), 0);
    // A hollow box with one pixel of space around it (where the cell allows).
    const int x0 = glyph.width > 3 ? 1 : 0, x1 = glyph.width > 3 ? glyph.width - 2 : glyph.width - 1;
    const int y0 = size > 3 ? 1 : 0, y1 = size > 3 ? size - 2 : size - 1;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            if (y == y0 || y == y1 || x == x0 || x == x1) glyph.mask[static_cast<size_t>(y * glyph.pitch + x)] = 1;
    return glyph;
}

}  // namespace media
