// Drawing Shift-JIS text with the default font.
#include <new>

#include "media/DefaultFont.h"
#include "media/Log.h"
#include "media/Media.h"
#include "media/MediaAvTexts.h"
#include "media/OperationLock.h"
#include "media/Renderer.h"
#include "media/ShiftJis.h"
#include "media/TracedCalls.h"

int DrawTextAt(int x, int y, const char* text, uint32_t colour, uint32_t edgeColour) {
    if (media::RecordingCalls()) return media::traced::DrawTextAt(x, y, text, colour, edgeColour);
    media::OperationGuard guard;
    media::BringDefaultFontUpToDate();
    if (!text || !*text) return 0;
    media::Font* font = media::DefaultFont();
    if (!font) return 0;
    try {
        int penX = x;
        const char* p = text;
        while (true) {
            const media::SjisChar c = media::NextSjisChar(p);
            if (c.length == 0) break;
            const media::Glyph& glyph = c.truncated ? font->ReplacementGlyph(2) : font->GlyphOf(c.code);
            if (glyph.width > 0)
                media::DrawCoverageMask(penX + glyph.left, y, glyph.mask.data(), glyph.width, glyph.height,
                                        glyph.pitch, colour);
            penX += glyph.advance;
            p += c.length;
        }
    } catch (const std::bad_alloc&) {
        media::LogPrintf("%s", media::texts::kCharCacheMemoryFailed);
    }
    return 0;
}
